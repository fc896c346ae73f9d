// Four workstations (processes) on one demo database at the same time: two
// create centres, two delete centres, moving their case records onto
// another centre that may itself be going. Whatever the interleaving: every
// key handed out once, the counter at the highest key ever handed out, no
// case record left on a deleted centre, the file and its indexes sound.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>

#include "morvanel/workflow/delete_command.h"
#include "poste_demo.h"

namespace morvanel::testing {
namespace {

constexpr int kCreations = 40;     // per creating workstation: 80 of the 92 keys left
constexpr int kSuppressions = 40;  // attempts per deleting workstation
constexpr const char* kInexistant = "Ce centre URSSAF n'existe pas.";

// The lines to the parent (Dire): "C sigle", "D code sigle", "E text"; "T"
// a transfer form shown, "I"/"R" its target deleted before/after the choice.
std::vector<std::string> Codes(dba::Database& db) {
  std::vector<std::string> r;
  for (const auto& [cle, c] : Enregistrements(db, "CENTREURSSAF")) r.push_back(cle);
  return r;
}

void Creer(Poste& p, int poste, int fd) {
  for (int n = 0; n < kCreations; ++n) {
    const std::string sigle = "K" + std::to_string(poste) + "-" + std::to_string(n);
    SaisirCreation(p, sigle, "Centre concurrent");
    p.saisie.Type(p["Txt_CodeEntite"], "002");
    p.saisie.Click(p["Cmd_OK"]);
    const auto messages = p.services.takeMessages();
    if (!messages.empty()) {
      Dire(fd, "E " + messages[0].text);
      return;
    }
    Dire(fd, "C " + sigle);
  }
}

void Supprimer(Poste& p, dba::Database& db, int poste, int fd) {
  std::mt19937 alea(static_cast<unsigned>(poste) * 7919u);
  for (int n = 0; n < kSuppressions; ++n) {
    std::vector<std::string> codes = Codes(db);
    if (codes.size() < 4) {
      ::usleep(2000);  // let the creators catch up
      continue;
    }
    const std::string code = codes[alea() % codes.size()];
    p.saisie.Type(p["Txt_CodCtrUrssaf"], code);
    if (!p["Cmd_Supprimer"].Enabled()) {  // deleted meanwhile: told, nothing shown
      p.services.takeMessages();
      continue;
    }
    const std::string sigle = p["Txt_SigleCtrUrssaf"].Text();
    codes = Codes(db);
    codes.erase(std::remove(codes.begin(), codes.end(), code), codes.end());
    const std::string cible = codes.empty() ? std::string("99") : codes[alea() % codes.size()];
    p.services.SetModalDriver([&](forms::Form& f) {
      forms::UserInput saisie(f, p.services);
      saisie.Type(f.Get("Txt_CentreSuppr"), cible);
      if (!f.Get("Txt_CentreSuppr").Text().empty()) saisie.Click(f.Get("Cmd_OKSuppr"));
      if (!f.IsUnloaded()) saisie.Click(f.Get("Cmd_AnnulerSuppr"));  // the target went first
    });
    const std::size_t formes = p.services.modalForms().size();
    p.services.QueueAnswer(forms::MsgAnswer::Yes);
    p.saisie.Click(p["Cmd_Supprimer"]);
    const bool transfert = p.services.modalForms().size() > formes;
    auto messages = p.services.takeMessages();
    for (std::size_t i = 1; i < messages.size(); ++i) {
      const std::string& t = messages[i].text;
      if (t != kInexistant && t != workflow::kMsgCibleSupprimee) {
        Dire(fd, "E " + t);
        return;
      }
      Dire(fd, t == kInexistant ? "I" : "R");  // target gone before, or after, the choice
    }
    if (transfert) Dire(fd, "T");
    if (p["Txt_CodCtrUrssaf"].Text().empty()) {
      Dire(fd, "D " + code + " " + sigle);
    } else {
      p.saisie.Click(p["Cmd_Annuler"]);  // kept: back to the search
    }
  }
}

[[noreturn]] void Poste_(const std::string& chemin, int poste, bool cree, int go, int fd) {
  try {
    auto p = PosteSur(chemin);
    auto db = dba::Database::Open(chemin);
    char c = 0;
    if (::read(go, &c, 1) != 1) ::_exit(3);
    if (cree) {
      Creer(*p, poste, fd);
    } else {
      Supprimer(*p, *db, poste, fd);
    }
  } catch (const std::exception& e) {
    Dire(fd, std::string("E exception: ") + e.what());
  }
  ::_exit(0);
}

TEST(PostesConcurrents, CreationsAndDeletionsWithTransfersKeepEveryInvariant) {
  ModeleDemo modele;
  const std::string chemin = modele.dossier() + "/postes.mvdb";
  modele.Copier(chemin);
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  std::vector<pid_t> enfants;
  std::vector<int> sorties;
  for (int poste = 1; poste <= 4; ++poste) {
    int r[2];
    ASSERT_EQ(::pipe(r), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(go[1]);
      ::close(r[0]);
      Poste_(chemin, poste, poste <= 2, go[0], r[1]);
    }
    ::close(r[1]);
    enfants.push_back(pid);
    sorties.push_back(r[0]);
  }
  ::close(go[0]);
  ASSERT_EQ(::write(go[1], "gggg", 4), 4);
  ::close(go[1]);

  std::vector<std::string> crees;
  std::map<std::string, std::string> supprimes;  // code -> sigle
  std::map<char, int> compte;
  for (std::size_t i = 0; i < enfants.size(); ++i) {
    std::string texte;
    LireLignes(sorties[i], texte, std::string::npos);
    ::close(sorties[i]);
    int statut = 0;
    ::waitpid(enfants[i], &statut, 0);
    EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0) << "workstation " << i + 1;
    std::istringstream lignes(texte);
    std::string ligne;
    while (std::getline(lignes, ligne)) {
      ASSERT_NE(ligne[0], 'E') << "workstation " << i + 1 << ": " << ligne;
      if (ligne[0] == 'C') crees.push_back(ligne.substr(2));
      if (ligne[0] == 'D') supprimes[ligne.substr(2, 2)] = ligne.substr(5);
      ++compte[ligne[0]];
    }
  }

  auto db = dba::Database::Open(chemin);
  EXPECT_EQ(Incoherences(*db), std::vector<std::string>{});
  const auto centres = Enregistrements(*db, "CENTREURSSAF");
  const int compteur = std::stoi(db->DBOpen("COMPTEUR").DBRead("999").Item(12));
  EXPECT_EQ(compteur - 7, static_cast<int>(crees.size())) << "each creation takes one key";
  std::string plusHaute;
  for (const auto& [cle, c] : centres) plusHaute = std::max(plusHaute, cle);
  for (const auto& [cle, s] : supprimes) {
    plusHaute = std::max(plusHaute, cle);
    EXPECT_FALSE(centres.count(cle)) << "deleted centre " << cle << " is back";
  }
  EXPECT_EQ(std::stoi(plusHaute), compteur);
  std::multiset<std::string> sigles;
  for (const auto& [cle, c] : centres) sigles.insert(c.Item(1));
  std::set<std::string> siglesSupprimes;
  for (const auto& [cle, s] : supprimes) siglesSupprimes.insert(s);
  for (const std::string& s : crees) {
    EXPECT_EQ(sigles.count(s) + siglesSupprimes.count(s), 1u) << s << ": lost or written twice";
  }
  std::printf(
      "[ workstations ] %zu centres created, %zu deleted, %zu left; %d transfer forms, "
      "%d targets gone before the choice was checked, %d after\n",
      crees.size(), supprimes.size(), centres.size(), compte['T'], compte['I'], compte['R']);
}

}  // namespace
}  // namespace morvanel::testing
