// The write of a stored centre against another workstation's changes: the
// comparison with the text shown, the question, and what happens when the
// record changes or goes between the question and the write.
#include "morvanel/state/ecriture_centre.h"
#include "poste_workflow.h"

namespace morvanel::testing {
namespace {

using state::Ecriture;

class EcritureGardeeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base.Ecrire("CENTREURSSAF", "07", {{1, "URSSAF LOIRE"}, {2, "Nantes"}});
    affiche = base.Lire("CENTREURSSAF", "07");
    poste = AutrePoste(base);
    centres = poste->DBOpen("CENTREURSSAF");
    art = centres.DBRead("07");
    art.setItem(2, "Nantes (siège)");
  }
  // Another workstation's change of centre 07.
  void Changer(const std::string& nom) {
    base.Ecrire("CENTREURSSAF", "07", {{1, "URSSAF LOIRE"}, {2, nom}});
  }
  [[nodiscard]] std::string Nom() { return Attribut(base, "CENTREURSSAF", "07", 2); }

  // Runs the write; the clerk's answers, in order, each after `avant(n)`
  // (what happens elsewhere while question n is on the screen).
  Ecriture Ecrire(std::vector<bool> reponses, const std::function<void(int)>& avant = {}) {
    int posees = 0;
    return state::EcrireSiInchange(*poste, centres, art, affiche, [&] {
      ++questions;
      const int n = posees++;
      if (avant) avant(n);
      return n < static_cast<int>(reponses.size()) && reponses[static_cast<std::size_t>(n)];
    });
  }

  BaseTemporaire base;
  std::string affiche;
  std::shared_ptr<dba::Database> poste;
  dba::DBFile centres;
  dba::CItem art;
  int questions = 0;
};

TEST_F(EcritureGardeeTest, ChangedAgainWhileAskingAsksAboutTheNewerText) {
  // GIVEN a change before the save, WHEN another one lands while the clerk
  // reads the question and the clerk then says Yes, THEN the clerk is asked
  // again; No then keeps the newer text.
  Changer("Premier");
  EXPECT_EQ(Ecrire({true, false},
                   [&](int n) {
                     if (n == 0) Changer("Second");
                   }),
            Ecriture::Refusee);
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(Nom(), "Second");
}

TEST_F(EcritureGardeeTest, DeletedElsewhereIsNeverBroughtBack) {
  // Before the save, and while the clerk is being asked.
  base.db()->DBOpen("CENTREURSSAF").DBDelete("07");
  EXPECT_EQ(Ecrire({true}), Ecriture::Supprime);
  EXPECT_EQ(questions, 0);
  EXPECT_EQ(base.Lire("CENTREURSSAF", "07"), "");

  Changer("Changé ailleurs");
  EXPECT_EQ(Ecrire({true}, [&](int) { base.db()->DBOpen("CENTREURSSAF").DBDelete("07"); }),
            Ecriture::Supprime);
  EXPECT_EQ(base.Lire("CENTREURSSAF", "07"), "");
}

TEST_F(EcritureGardeeTest, LockedByAnotherWorkstationFailsWithNothingWritten) {
  dba::DBFile autre = base.db()->DBOpen("CENTREURSSAF");
  (void)autre.ReadLocked("07");
  try {
    (void)Ecrire({true});
    ADD_FAILURE() << "written over a lock";
  } catch (const dba::DbaError& e) {
    EXPECT_EQ(e.number(), dba::kErrRecordLocked);
  }
  autre.Release("07");
  EXPECT_EQ(Nom(), "Nantes");
}

}  // namespace
}  // namespace morvanel::testing
