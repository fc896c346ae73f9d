// Four workstations (four processes on one database: a SQLite file, or on
// the "_pg" variant a PostgreSQL database, each process its own server
// session) creating centres at the same moment: every key handed out once,
// no centre overwritten, the counter at the highest key.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <set>

#include "morvanel/workflow/key_allocation.h"
#include "pg_scratch.h"
#include "poste_workflow.h"

namespace morvanel::testing {
namespace {

constexpr int kPostes = 4;
constexpr int kCreationsParPoste = 50;

struct Tally {
  int crees = 0;
  int refusees = 0;  // no key left
};

// In the child: `kCreationsParPoste` centres with sigles "P<poste>-<n>",
// after the parent's go. Never returns.
[[noreturn]] void Travailler(const std::string& chemin, int poste, int pret, int go, int resultat) {
  Tally b;
  try {
    Poste p(dba::Database::Open(chemin));
    p.services.SetDefaultAnswer(forms::MsgAnswer::OK);
    p.ctl->Init();
    char c = 'p';
    if (::write(pret, &c, 1) != 1 || ::read(go, &c, 1) != 1) ::_exit(3);
    for (int n = 0; n < kCreationsParPoste; ++n) {
      // A centre shown (the only one, at Init) is put away first.
      if (!p["Cmd_Ajouter"].Enabled()) p.saisie.Click(p["Cmd_Annuler"]);
      SaisirCreation(p, "P" + std::to_string(poste) + "-" + std::to_string(n));
      if (!p.etat().ModeAjout) ::_exit(7);  // "Ajouter" did not start a creation
      p.saisie.Click(p["Cmd_OK"]);
      const auto messages = p.services.takeMessages();
      if (messages.empty()) {
        ++b.crees;
      } else if (messages.size() == 1 && messages[0].text == workflow::kMsgPlusDeCle) {
        ++b.refusees;
        p.services.QueueAnswer(forms::MsgAnswer::Yes);
        p.saisie.Click(p["Cmd_Annuler"]);
        p.services.takeMessages();
      } else {
        std::fprintf(stderr, "poste %d: %s\n", poste, messages[0].text.c_str());
        ::_exit(4);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "poste %d: %s\n", poste, e.what());
    ::_exit(5);
  }
  if (::write(resultat, &b, sizeof b) != static_cast<ssize_t>(sizeof b)) ::_exit(6);
  ::_exit(0);
}

TEST(CreationsConcurrentes, FourWorkstationsNeverShareAKeyNorLoseACentre) {
  std::optional<BaseTemporaire> fichier;
  std::unique_ptr<ScratchPg> serveur;
  std::string chemin;
  if (OnPostgres()) {
    serveur = std::make_unique<ScratchPg>();
    chemin = serveur->uri();
    auto db = dba::Database::Open(chemin, {.create = true});
    for (const char* f :
         {"CENTREURSSAF", "COMPTEUR", "ASSOCIATION", "ACTIVITES", "ETABLISSEMENT", "ELTSPARTEMP"}) {
      db->CreateFile(f);
    }
  } else {
    fichier.emplace();
    chemin = fichier->dossier() + "/paie.mvdb";
  }
  int go[2];
  int pret[2];
  ASSERT_EQ(::pipe(go), 0);
  ASSERT_EQ(::pipe(pret), 0);
  std::vector<pid_t> enfants;
  std::vector<int> resultats;
  for (int poste = 1; poste <= kPostes; ++poste) {
    int r[2];
    ASSERT_EQ(::pipe(r), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(go[1]);
      ::close(pret[0]);
      ::close(r[0]);
      Travailler(chemin, poste, pret[1], go[0], r[1]);
    }
    ::close(r[1]);
    enfants.push_back(pid);
    resultats.push_back(r[0]);
  }
  ::close(go[0]);
  ::close(pret[1]);
  // All start together, once all are ready.
  for (int i = 0; i < kPostes; ++i) {
    char c;
    ASSERT_EQ(::read(pret[0], &c, 1), 1);
  }
  ::close(pret[0]);
  ASSERT_EQ(::write(go[1], std::string(kPostes, 'g').data(), kPostes), kPostes);
  ::close(go[1]);

  Tally total;
  for (std::size_t i = 0; i < enfants.size(); ++i) {
    Tally b;
    const ssize_t lu = ::read(resultats[i], &b, sizeof b);
    ::close(resultats[i]);
    int statut = 0;
    ::waitpid(enfants[i], &statut, 0);
    ASSERT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0) << "workstation " << i + 1;
    ASSERT_EQ(lu, static_cast<ssize_t>(sizeof b));
    total.crees += b.crees;
    total.refusees += b.refusees;
  }

  // 200 attempts for 99 keys: every key used once, the rest refused.
  EXPECT_EQ(total.crees, workflow::kDerniereCle);
  EXPECT_EQ(total.refusees, kPostes * kCreationsParPoste - workflow::kDerniereCle);
  auto db = dba::Database::Open(chemin);
  const std::string am(1, dba::kAttributeMark);
  const dba::CItem centres =
      db->DBSelect("SSELECT CENTREURSSAF" + am + "CENTREURSSAF" + am + "0 1");
  std::set<std::string> cles;
  std::set<std::string> sigles;
  for (int i = 1; i <= centres.DCount(); ++i) {
    cles.insert(centres.Item(i, 1));
    sigles.insert(centres.Item(i, 2));
  }
  EXPECT_EQ(centres.DCount(), total.crees);
  EXPECT_EQ(static_cast<int>(cles.size()), total.crees);
  EXPECT_EQ(static_cast<int>(sigles.size()), total.crees) << "a centre was overwritten";
  ASSERT_FALSE(cles.empty());
  EXPECT_EQ(db->DBOpen("COMPTEUR").DBRead("999").Item(12), *cles.rbegin())
      << "the counter is the highest key";
}

}  // namespace
}  // namespace morvanel::testing
