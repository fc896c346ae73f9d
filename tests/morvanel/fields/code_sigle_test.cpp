// Finding a centre by its code or its sigle, as a clerk does it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "poste_centres.h"

namespace morvanel::testing {
namespace {

using forms::MsgButtons;
using forms::MsgIcon;

constexpr const char* kInconnu = "Ce centre URSSAF n'existe pas.";

void AttendreCentreAffiche(PosteCentres& p, const char* code, const char* nom) {
  auto& e = p.e();
  EXPECT_EQ(e.Txt_CodCtrUrssaf.Text(), code);
  EXPECT_EQ(e.Txt_NomCtrUrssaf.Text(), nom);
  EXPECT_FALSE(e.Txt_CodCtrUrssaf.Enabled());
  EXPECT_TRUE(e.Txt_SigleCtrUrssaf.Visible());
  EXPECT_FALSE(e.Cbo_SigleCtrUrssaf.Visible());
  EXPECT_TRUE(e.Txt_SigleCtrUrssaf.Focused());
  ASSERT_TRUE(p.etat().Art_CentreUrssaf);
  EXPECT_EQ(p.etat().ArticleInitial, p.etat().Art_CentreUrssaf->Item());
}

void AttendreRecherche(PosteCentres& p) {
  auto& e = p.e();
  EXPECT_EQ(e.Txt_CodCtrUrssaf.Text(), "");
  EXPECT_TRUE(e.Txt_CodCtrUrssaf.Enabled());
  EXPECT_TRUE(e.Cbo_SigleCtrUrssaf.Visible());
  EXPECT_FALSE(e.Txt_SigleCtrUrssaf.Visible());
  EXPECT_EQ(e.Txt_NomCtrUrssaf.Text(), "");
}

TEST(CodeCentre, EnterInAnEmptyBoxLooksUpCentre00) {
  PosteCentres p;
  p.clerc().Focus(p.e().Txt_CodCtrUrssaf);
  p.clerc().Key(p.e().Txt_CodCtrUrssaf, forms::kKeyEnter);
  EXPECT_EQ(p.Messages(), std::vector<std::string>{kInconnu});
  AttendreRecherche(p);
  EXPECT_TRUE(p.e().Txt_CodCtrUrssaf.Focused());
  EXPECT_EQ(p.etat().ArticleInitial, "");
}

// Letters are looked up as typed, case and all.
TEST(CodeCentre, AnUnknownCodeIsReportedAndTheBoxEmptiedForAnotherTry) {
  PosteCentres p;
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "9");
  EXPECT_TRUE(p.Messages().empty()) << "one character is not looked up yet";
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "8");
  EXPECT_EQ(p.Messages(), std::vector<std::string>{kInconnu});
  AttendreRecherche(p);
  EXPECT_TRUE(p.e().Txt_CodCtrUrssaf.Focused());
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "AB");
  EXPECT_EQ(p.Messages(), std::vector<std::string>{kInconnu});
  AttendreRecherche(p);
  // and the box takes the next code at once
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "ab");
  AttendreCentreAffiche(p, "ab", "Centre de test");
  EXPECT_TRUE(p.Messages().empty());
}

TEST(CodeCentre, ALockedRecordIsSaidToBeInUseAndTheSearchScreenComesBack) {
  PosteCentres p({}, dba::OpenOptions{.lockTimeoutMs = 50});
  p.Ecrire({"CENTREURSSAF", "07", {{1, "URSSAF RHONE"}, {2, "URSSAF Rhône-Alpes"}}});
  // GIVEN another session holds centre 07
  auto autre = dba::Database::Open(p.Chemin(), dba::OpenOptions{.lockTimeoutMs = 50});
  dba::DBFile centres = autre->DBOpen("CENTREURSSAF");
  const dba::CItem tenu = centres.ReadLocked("07");
  // WHEN the clerk types 07
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "07");
  // THEN the clerk is told another workstation has it (never that it does
  // not exist), no centre is shown and the box is ready for another try
  const auto boites = p.services.takeMessages();
  ASSERT_EQ(boites.size(), 1u);
  EXPECT_EQ(boites[0].text, "Ce centre URSSAF est en cours de modification sur un autre poste.");
  EXPECT_EQ(boites[0].buttons, MsgButtons::OK);
  EXPECT_EQ(boites[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(boites[0].title, "Message TARVELINE");
  AttendreRecherche(p);
  ASSERT_TRUE(p.etat().Art_CentreUrssaf);
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Item(), "");
  // and once released the same code shows the centre
  centres.Release("07");
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "07");
  AttendreCentreAffiche(p, "07", "URSSAF Rhône-Alpes");
}

TEST(CodeCentre, ACentreThatCannotBeShownWholeIsNotShownAtAll) {
  PosteCentres p;
  // GIVEN the legal entities cannot be listed (their file is gone)
  p.db->DeleteFile("ACTIVITES");
  // WHEN the clerk types a code that exists
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "07");
  // THEN the screen is back in the search state rather than half filled
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_GE(p.services.beeps(), 1);
  AttendreRecherche(p);
  EXPECT_EQ(p.e().Lst_Date.ListCount(), 0);
  EXPECT_FALSE(p.e().Cmd_OK.Enabled());
}

TEST(SigleCentre, ACentreWhoseKeyIsNotTwoCharactersIsReportedNeverAnotherShown) {
  for (const char* cle : {"100", "1"}) {
    SCOPED_TRACE(cle);
    std::vector<Enregistrement> d = DonneesParDefaut();
    d.push_back({"CENTREURSSAF", "10", {{1, "URSSAF DIX"}, {2, "Centre dix"}, {17, "0"}}});
    d.push_back({"CENTREURSSAF", cle, {{1, "AAA IMPORTE"}, {2, "Centre importe"}, {17, "0"}}});
    PosteCentres p(d);
    const std::string avant = p.db->DBOpen("CENTREURSSAF").DBRead("10").Item();
    // WHEN the clerk picks the imported centre's sigle (first in sigle order)
    ASSERT_EQ(p.e().Cbo_SigleCtrUrssaf.List(0), "AAA IMPORTE");
    p.clerc().Pick(p.e().Cbo_SigleCtrUrssaf, 0);
    // THEN the clerk is told, and no centre is shown under that sigle
    EXPECT_EQ(p.Messages(),
              std::vector<std::string>{"Ce centre URSSAF ne peut pas être affiché : son "
                                       "code ne compte pas deux caractères."});
    AttendreRecherche(p);
    EXPECT_EQ(p.e().Cbo_SigleCtrUrssaf.Text(), "");
    EXPECT_FALSE(p.etat().Art_CentreUrssaf && !p.etat().Art_CentreUrssaf->Item().empty());
    EXPECT_EQ(p.db->DBOpen("CENTREURSSAF").DBRead("10").Item(), avant);
  }
}

TEST(SigleCentre, TheOnlyCentreWhoseKeyIsNotTwoCharactersIsNotShownByInit) {
  std::vector<Enregistrement> d = EntitesParDefaut();
  d.push_back({"CENTREURSSAF", "100", {{1, "URSSAF CENT"}, {17, "0"}}});
  PosteCentres p(d);
  EXPECT_TRUE(p.Messages().empty());
  AttendreRecherche(p);
  EXPECT_FALSE(p.e().Txt_NomCtrUrssaf.Enabled()) << "the search screen is greyed";
  EXPECT_TRUE(p.e().Txt_CodCtrUrssaf.Focused());
}

TEST(SigleCentre, TypingInTheSigleListLooksNothingUp) {
  PosteCentres p;
  p.clerc().Type(p.e().Cbo_SigleCtrUrssaf, "URSSAF PARIS");
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_EQ(p.e().Txt_CodCtrUrssaf.Text(), "");
  EXPECT_TRUE(p.e().Cbo_SigleCtrUrssaf.Visible());
  EXPECT_FALSE(p.etat().Art_CentreUrssaf);
}

TEST(SigleCentre, TheSigleIsInCapitalsOnceLeft) {
  PosteCentres p;
  p.Montrer("07");
  auto& sigle = p.e().Txt_SigleCtrUrssaf;
  sigle.SetText("");
  p.clerc().Type(sigle, "urssaf rhône-alpes ß");
  EXPECT_EQ(sigle.Text(), "urssaf rhône-alpes ß");  // not while typing
  p.clerc().Focus(p.e().Txt_NomCtrUrssaf);
  EXPECT_EQ(sigle.Text(), "URSSAF RHÔNE-ALPES ß");
}

}  // namespace
}  // namespace morvanel::testing
