// "Ajouter" and "OK": the key a new centre gets, what a save writes, what a
// refusal or a database failure leaves untouched. ("Annuler": the
// workflow_annuler scenario.)
#include <algorithm>

#include "morvanel/workflow/key_allocation.h"
#include "poste_workflow.h"

namespace morvanel::testing {
namespace {

using forms::MsgAnswer;

class CreationTest : public ::testing::Test {
 protected:
  void Compteur(const std::string& valeur) { base.Ecrire("COMPTEUR", "999", {{12, valeur}}); }
  [[nodiscard]] std::string CompteurLu() { return Attribut(base, "COMPTEUR", "999", 12); }

  // THEN: the creation is still on the screen with the values typed.
  static void ResteEnCreation(Poste& p, const std::string& sigle) {
    EXPECT_TRUE(p.etat().ModeAjout);
    EXPECT_EQ(p["Txt_SigleCtrUrssaf"].Text(), sigle);
    EXPECT_EQ(p["Txt_NomCtrUrssaf"].Text(), "Urssaf test");
    EXPECT_TRUE(p["Cmd_OK"].Enabled());
    EXPECT_FALSE(p["Txt_CodCtrUrssaf"].Enabled());
    EXPECT_EQ(p.services.mousePointer(), forms::MousePointer::Default);
    EXPECT_TRUE(p.ctl->Controls().Enabled());
  }

  BaseTemporaire base;
};

TEST_F(CreationTest, FirstCentreGetsKey01UnderTheHourglass) {
  for (const char* vide : {"", "  "}) {
    SCOPED_TRACE(std::string("counter \"") + vide + "\"");
    BaseTemporaire b;
    b.Ecrire("COMPTEUR", "999", {{12, vide}});
    auto p = PosteInitialise(b);
    SaisirCreation(*p, "URSSAF NORD");
    p->saisie.Click((*p)["Cmd_OK"]);
    EXPECT_TRUE(p->services.messages().empty());
    EXPECT_EQ(Attribut(b, "COMPTEUR", "999", 12), "01");
    EXPECT_EQ(Attribut(b, "CENTREURSSAF", "01", 1), "URSSAF NORD");
    EXPECT_EQ(Attribut(b, "CENTREURSSAF", "01", 16), "117");
    // The save showed the hourglass and ended with the default pointer.
    const auto& pointeurs = p->services.pointerHistory();
    EXPECT_NE(std::find(pointeurs.begin(), pointeurs.end(), forms::MousePointer::Hourglass),
              pointeurs.end());
    EXPECT_EQ(p->services.mousePointer(), forms::MousePointer::Default);
    EXPECT_TRUE(p->ctl->Controls().Enabled());
  }
}

TEST_F(CreationTest, KeyInUseIsPassedOverAndItsCentreKept) {
  Compteur("01");
  base.Ecrire("CENTREURSSAF", "02", {{1, "IMPORTE"}, {2, "Centre importé"}});
  base.Ecrire("CENTREURSSAF", "03", {{1, "IMPORTE AUSSI"}, {2, "Autre centre importé"}});
  const std::string importe = base.Lire("CENTREURSSAF", "02");
  auto p = PosteInitialise(base);
  SaisirCreation(*p, "URSSAF EST");
  p->saisie.Click((*p)["Cmd_OK"]);
  EXPECT_EQ(base.Lire("CENTREURSSAF", "02"), importe);
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "03", 1), "IMPORTE AUSSI");
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "04", 1), "URSSAF EST");
  EXPECT_EQ(CompteurLu(), "04");
}

// A counter at its maximum or unreadable: told, nothing written, the
// creation kept.
TEST_F(CreationTest, ARefusedKeyWritesNothingAndKeepsTheCreation) {
  for (const auto& [compteur, message] : {std::pair{"99", workflow::kMsgPlusDeCle},
                                          std::pair{"x1", workflow::kMsgCompteurIllisible}}) {
    SCOPED_TRACE(compteur);
    Compteur(compteur);
    const std::string compteurAvant = base.Lire("COMPTEUR", "999");
    auto p = PosteInitialise(base);
    p->services.SetDefaultAnswer(MsgAnswer::OK);
    SaisirCreation(*p, "URSSAF EST");
    p->saisie.Click((*p)["Cmd_OK"]);
    ASSERT_EQ(p->services.messages().size(), 1u);
    const auto& m = p->services.messages()[0];
    EXPECT_EQ(m.text, message);
    EXPECT_EQ(m.icon, forms::MsgIcon::Exclamation);
    EXPECT_EQ(m.buttons, forms::MsgButtons::OK);
    EXPECT_EQ(m.title, "Message TARVELINE");
    EXPECT_EQ(base.Lire("COMPTEUR", "999"), compteurAvant);
    EXPECT_TRUE(base.db()->DBSelect("SSELECT CENTREURSSAF").Item().empty());
    ResteEnCreation(*p, "URSSAF EST");
    // "Annuler" on the creation kept asks first, with a beep; "Non" keeps it.
    const int bips = p->services.beeps();
    p->services.QueueAnswer(MsgAnswer::No);
    p->saisie.Click((*p)["Cmd_Annuler"]);
    EXPECT_EQ(p->services.beeps(), bips + 1);
    EXPECT_EQ(p->services.messages().back().buttons, forms::MsgButtons::YesNo);
    ResteEnCreation(*p, "URSSAF EST");
  }
}

TEST_F(CreationTest, DatabaseErrorKeepsTheCreationAndASecondOkSavesItWhole) {
  Compteur("04");
  auto p = PosteInitialise(base);
  p->services.SetDefaultAnswer(MsgAnswer::OK);
  SaisirCreation(*p, "URSSAF EST");
  // Bank details typed during this creation (their dialog fills the record).
  p->etat().Art_CentreUrssaf->setItem(26, "URSSAF EST");

  // GIVEN another workstation holding the counter
  auto autre = AutrePoste(base);
  dba::DBFile compteurs = autre->DBOpen("COMPTEUR");
  (void)compteurs.ReadLocked("999");
  // WHEN the clerk saves
  p->saisie.Click((*p)["Cmd_OK"]);
  // THEN the failure is told, nothing is written, the creation stays
  ASSERT_EQ(p->services.messages().size(), 1u);
  EXPECT_EQ(p->services.messages()[0].text.rfind(kDbErrorPrefix, 0), 0u)
      << p->services.messages()[0].text;
  EXPECT_EQ(p->services.messages()[0].icon, forms::MsgIcon::Exclamation);
  ResteEnCreation(*p, "URSSAF EST");
  compteurs.Release("999");
  EXPECT_EQ(CompteurLu(), "04");
  EXPECT_EQ(base.Lire("CENTREURSSAF", "05"), "");

  // WHEN the clerk saves again, the other workstation having let go
  p->services.takeMessages();
  p->saisie.Click((*p)["Cmd_OK"]);
  // THEN the centre is written with the details typed during the creation
  EXPECT_TRUE(p->services.messages().empty());
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "05", 1), "URSSAF EST");
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "05", 26), "URSSAF EST");
  EXPECT_EQ(CompteurLu(), "05");
}

TEST(CentreAffiche, SortirYesWithTheCentreLockedStaysWithTheChange) {
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "07", {{1, "URSSAF LOIRE"}, {2, "Loire"}, {16, "117"}, {17, "0"}});
  base.Ecrire("CENTREURSSAF", "08", {{1, "URSSAF CENTRE"}, {2, "Centre"}, {16, "245"}, {17, "1"}});
  const std::string avant = base.Lire("CENTREURSSAF", "07");
  // GIVEN centre 07 shown with its name changed, and locked elsewhere
  auto p = PosteInitialise(base);
  p->saisie.Type((*p)["Txt_CodCtrUrssaf"], "07");
  p->saisie.Type((*p)["Txt_NomCtrUrssaf"], " nord");
  p->services.QueueAnswer(MsgAnswer::Yes);
  p->services.QueueAnswer(MsgAnswer::OK);
  auto autre = AutrePoste(base);
  dba::DBFile centres = autre->DBOpen("CENTREURSSAF");
  (void)centres.ReadLocked("07");
  p->saisie.Click((*p)["Cmd_Sortir"]);
  ASSERT_EQ(p->services.messages().size(), 2u);
  EXPECT_EQ(p->services.messages()[1].text.rfind(kDbErrorPrefix, 0), 0u);
  EXPECT_EQ(p->ctl->W_Sortir(), 0);
  EXPECT_EQ(p->services.parentUnloads(), 0);
  EXPECT_EQ((*p)["Txt_NomCtrUrssaf"].Text(), "Loire nord");
  EXPECT_TRUE(p->ctl->Controls().Enabled());
  centres.Release("07");
  EXPECT_EQ(base.Lire("CENTREURSSAF", "07"), avant);
}

}  // namespace
}  // namespace morvanel::testing
