// What each of a clerk's actions costs the database in statements (on a
// server, round trips): few, and the same on the demo database as on a
// payroll bureau's seventeen times larger one. On a SQLite file, or on the
// "_pg" variant a PostgreSQL database.
#include <iostream>
#include <memory>
#include <optional>

#include "demo/demo_seed.h"
#include "pg_scratch.h"
#include "poste_workflow.h"

namespace morvanel::testing {
namespace {

struct Couts {
  std::uint64_t init = 0, affichage = 0, ok = 0, creation = 0, suppression = 0;
  bool operator==(const Couts&) const = default;
};

void PrintTo(const Couts& c, std::ostream* os) {
  *os << "Init " << c.init << ", show " << c.affichage << ", OK " << c.ok << ", creation "
      << c.creation << ", deletion " << c.suppression;
}

// The demo database at `scale` (scale 17: 503 legal entities, 5,008
// establishments, 510,000 case records), each action of a clerk counted.
Couts Mesurer(int scale) {
  std::optional<BaseTemporaire> fichier;
  std::unique_ptr<ScratchPg> serveur;
  std::string chemin;
  if (OnPostgres()) {
    serveur = std::make_unique<ScratchPg>();
    chemin = serveur->uri();
  } else {
    fichier.emplace(false);
    chemin = fichier->dossier() + "/paie.mvdb";
  }
  demo::SeedDemo(*dba::Database::Open(chemin, {.create = true}), {.scale = scale});

  auto db = dba::Database::Open(chemin);
  demo::RegisterDemoRoutines(*db);
  Poste p(db);
  p.services.SetDefaultAnswer(forms::MsgAnswer::OK);
  Couts c;
  auto compter = [&](std::uint64_t& n, auto action) {
    const std::uint64_t avant = db->Statements();
    action();
    n = db->Statements() - avant;
    for (const auto& m : p.services.takeMessages()) ADD_FAILURE() << m.text;
  };
  compter(c.init, [&] { p.ctl->Init(); });
  compter(c.affichage, [&] { p.saisie.Type(p["Txt_CodCtrUrssaf"], "07"); });
  EXPECT_EQ(p["Txt_CodCtrUrssaf"].Text(), "07");
  const std::string nom = p["Txt_NomCtrUrssaf"].Text() + " changée";
  compter(c.ok, [&] {
    p.saisie.Type(p["Txt_NomCtrUrssaf"], " changée");
    p.saisie.Click(p["Cmd_OK"]);
  });
  EXPECT_EQ(dba::CItem(db->DBOpen("CENTREURSSAF").DBRead("07").Item()).Item(2), nom);
  SaisirCreation(p, "NOUVEAU");
  p.saisie.Pick(p["Cbo_Entite"], 0);
  if (p["Cbo_Etab"].Enabled()) p.saisie.Pick(p["Cbo_Etab"], 0);
  compter(c.creation, [&] { p.saisie.Click(p["Cmd_OK"]); });
  const std::string cle = db->DBOpen("COMPTEUR").DBRead("999").Item(12);
  EXPECT_FALSE(db->DBOpen("CENTREURSSAF").DBRead(cle).Item().empty());
  p.saisie.Type(p["Txt_CodCtrUrssaf"], cle);
  p.services.QueueAnswer(forms::MsgAnswer::Yes);
  compter(c.suppression, [&] {
    p.saisie.Click(p["Cmd_Supprimer"]);
    const auto question = p.services.takeMessages();
    EXPECT_EQ(question.size(), 1u);
  });
  EXPECT_TRUE(db->DBOpen("CENTREURSSAF").DBRead(cle).Item().empty());
  return c;
}

TEST(AllersRetours, EachActionCostsFewStatementsWhateverTheDatabaseSize) {
  const Couts demo = Mesurer(1);
  const Couts bureau = Mesurer(17);
  EXPECT_EQ(bureau, demo);
  std::cout << "statements: " << ::testing::PrintToString(demo) << "\n";
  // On a server each statement is a round trip: 30 ms each from a branch
  // site.
  if (!OnPostgres()) return;
  const Couts plafond{.init = 8, .affichage = 3, .ok = 8, .creation = 10, .suppression = 8};
  EXPECT_LE(demo.init, plafond.init);
  EXPECT_LE(demo.affichage, plafond.affichage);
  EXPECT_LE(demo.ok, plafond.ok);
  EXPECT_LE(demo.creation, plafond.creation);
  EXPECT_LE(demo.suppression, plafond.suppression);
}

}  // namespace
}  // namespace morvanel::testing
