// A workstation killed (SIGKILL) at random moments while it saves centres,
// creates them and deletes them with their case records moved: after each
// kill the database is sound, holds every operation the workstation saw
// return, and nothing of an operation half done.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <sstream>

#include "poste_demo.h"

namespace morvanel::testing {
namespace {

constexpr int kMorts = 220;
// The kill comes after a random number of returned operations (up to
// kOperationsMax - 1, so every kind of operation is reached), then a
// random delay within the time one operation takes, so that it lands
// anywhere inside the next one: its reads, its transaction, its commit.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kOperationsMax = 4;  // each operation is many times slower
#else
constexpr int kOperationsMax = 10;
#endif
constexpr int kCompteurDemo = 7;

using Horloge = std::chrono::steady_clock;

void SansMessage(Poste& p, int fd, const std::string& quoi) {
  const auto messages = p.services.takeMessages();
  if (messages.empty()) return;
  Dire(fd, "E " + quoi + ": " + messages.back().text);
  ::_exit(9);
}

// Operations in a fixed cycle: save one of three centres, create one, delete
// one of three centres with case records onto another (a save once none is
// left). Each reported as "S code n", "C sigle", "D code".
[[noreturn]] void Travailler(const std::string& chemin, int fd) {
  try {
    auto p = PosteSur(chemin);
    Dire(fd, "R");
    const char* const sauvegardes[] = {"02", "03", "04"};
    const std::pair<const char*, const char*> suppressions[] = {
        {"07", "05"}, {"06", "04"}, {"01", "03"}};
    std::size_t suivante = 0;
    for (int n = 1;; ++n) {
      if (n % 3 == 2) {
        const std::string sigle = "K" + std::to_string(n);
        SaisirCreation(*p, sigle, "Crash centre");
        p->saisie.Type((*p)["Txt_CodeEntite"], "002");
        p->saisie.Click((*p)["Cmd_OK"]);
        SansMessage(*p, fd, "creation");
        Dire(fd, "C " + sigle);
      } else if (n % 3 == 0 && suivante < std::size(suppressions)) {
        const auto [code, cible] = suppressions[suivante++];
        p->saisie.Type((*p)["Txt_CodCtrUrssaf"], code);
        Poste& poste = *p;
        p->services.SetModalDriver([&poste, cible = std::string(cible)](forms::Form& f) {
          forms::UserInput saisie(f, poste.services);
          saisie.Type(f.Get("Txt_CentreSuppr"), cible);
          saisie.Click(f.Get("Cmd_OKSuppr"));
        });
        p->services.QueueAnswer(forms::MsgAnswer::Yes);
        p->saisie.Click((*p)["Cmd_Supprimer"]);
        auto messages = p->services.takeMessages();
        if (messages.size() != 1 || !(*p)["Txt_CodCtrUrssaf"].Text().empty()) {
          Dire(fd, "E deletion of " + std::string(code) + ": " + messages.back().text);
          ::_exit(9);
        }
        Dire(fd, "D " + std::string(code));
      } else {
        const std::string code = sauvegardes[n % 3];
        p->saisie.Type((*p)["Txt_CodCtrUrssaf"], code);
        (*p)["Txt_InterlocCtrUrssaf"].SetText("Crash " + std::to_string(n));
        p->saisie.Click((*p)["Cmd_OK"]);
        SansMessage(*p, fd, "save of " + code);
        Dire(fd, "S " + code + " " + std::to_string(n));
      }
    }
  } catch (const std::exception& e) {
    Dire(fd, std::string("E exception: ") + e.what());
  }
  ::_exit(8);
}

struct Tally {
  int operations = 0;  // reported as returned, all kills together
  std::vector<std::string> rompus;
};

// THEN after one kill: every invariant, and every reported operation there.
void Verifier(const std::string& chemin, const std::vector<std::string>& lignes, Tally& b) {
  auto db = dba::Database::Open(chemin);
  std::vector<std::string> r = Incoherences(*db);
  const auto centres = Enregistrements(*db, "CENTREURSSAF");
  const int compteur = std::stoi(db->DBOpen("COMPTEUR").DBRead("999").Item(12));
  for (int k = kCompteurDemo + 1; k <= compteur; ++k) {
    const std::string cle = (k < 10 ? "0" : "") + std::to_string(k);
    if (!centres.count(cle))
      r.push_back("counter at " + std::to_string(compteur) + " without centre " + cle);
  }
  std::set<std::string> sigles;
  for (const auto& [cle, c] : centres) {
    sigles.insert(c.Item(1));
    if (c.Item(1)[0] == 'K' && (c.Item(2) != "Crash centre" || c.Item(16) != "117")) {
      r.push_back("created centre " + cle + " half-written: " + c.Item());
    }
  }
  for (const std::string& l : lignes) {
    if (l == "R") continue;
    ++b.operations;
    std::istringstream mots(l);
    std::string sorte, code, n;
    mots >> sorte >> code >> n;
    if (sorte == "E") {
      r.push_back("the workstation failed: " + l);
    } else if (sorte == "S") {
      const std::string stocke = centres.count(code) ? centres.at(code).Item(15) : "";
      if (stocke.rfind("Crash ", 0) != 0 || std::stoi(stocke.substr(6)) < std::stoi(n)) {
        r.push_back("returned save lost: " + l + ", stored \"" + stocke + "\"");
      }
    } else if (sorte == "C") {
      if (!sigles.count(code)) r.push_back("returned creation lost: " + l);
    } else if (sorte == "D") {
      if (centres.count(code)) r.push_back("returned deletion undone: " + l);
    }
  }
  for (std::string& e : r) b.rompus.push_back(std::move(e));
}

// THEN a workstation opened after the kill works as usual: nothing the
// dead one held (its record locks, its half transaction) is in the way.
void Reprendre(const std::string& chemin, Tally& b) {
  auto p = PosteSur(chemin);
  p->saisie.Type((*p)["Txt_CodCtrUrssaf"], "02");
  (*p)["Txt_InterlocCtrUrssaf"].SetText("Reprise");
  p->saisie.Click((*p)["Cmd_OK"]);
  SaisirCreation(*p, "REPRISE", "Crash centre");
  p->saisie.Type((*p)["Txt_CodeEntite"], "002");
  p->saisie.Click((*p)["Cmd_OK"]);
  for (const auto& m : p->services.takeMessages()) b.rompus.push_back("after the kill: " + m.text);
  auto db = dba::Database::Open(chemin);
  if (dba::CItem(db->DBOpen("CENTREURSSAF").DBRead("02").Item()).Item(15) != "Reprise") {
    b.rompus.push_back("save after the kill lost");
  }
}

TEST(Crash, KilledAtRandomMomentsTheDatabaseKeepsEveryReturnedOperationAndNoHalf) {
  ModeleDemo modele;
  const std::string chemin = modele.dossier() + "/tuee.mvdb";
  std::mt19937 alea(20261206u);
  std::uniform_int_distribution<int> operations(0, kOperationsMax - 1);
  double dureeOperationUs = 5000;  // running mean, measured as the operations return
  Tally b;
  const auto debut = Horloge::now();
  for (int mort = 0; mort < kMorts && b.rompus.empty(); ++mort) {
    modele.Copier(chemin);
    int tube[2];
    ASSERT_EQ(::pipe(tube), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(tube[0]);
      Travailler(chemin, tube[1]);
    }
    ::close(tube[1]);
    std::string texte;
    LireLignes(tube[0], texte, 1);  // ready
    const int avant = operations(alea);
    const auto pret = Horloge::now();
    if (LireLignes(tube[0], texte, 1 + static_cast<std::size_t>(avant)) && avant > 0) {
      const double us = static_cast<double>(
          std::chrono::duration_cast<std::chrono::microseconds>(Horloge::now() - pret).count());
      dureeOperationUs = 0.9 * dureeOperationUs + 0.1 * us / avant;
    }
    std::uniform_int_distribution<int> delai(0, static_cast<int>(dureeOperationUs));
    ::usleep(static_cast<useconds_t>(delai(alea)));
    ::kill(pid, SIGKILL);
    int statut = 0;
    ::waitpid(pid, &statut, 0);
    LireLignes(tube[0], texte, std::string::npos);  // what it said before dying
    ::close(tube[0]);
    ASSERT_TRUE(WIFSIGNALED(statut)) << "the workstation ended before the kill: " << texte;
    std::vector<std::string> lignes;
    std::istringstream flux(texte);
    for (std::string l; std::getline(flux, l);) lignes.push_back(l);
    Verifier(chemin, lignes, b);
    if (mort % 10 == 0) Reprendre(chemin, b);
    if (!b.rompus.empty()) std::printf("kill %d after: %s\n", mort, texte.c_str());
  }
  EXPECT_EQ(b.rompus, std::vector<std::string>{});
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Horloge::now() - debut).count();
  std::printf(
      "[ crash ] %d kills, %d operations returned before them, %.0f us per operation, "
      "%lld ms\n",
      kMorts, b.operations, dureeOperationUs, static_cast<long long>(ms));
}

}  // namespace
}  // namespace morvanel::testing
