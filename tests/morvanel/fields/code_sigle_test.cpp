// Looking a centre up by its code when the database cannot give it whole:
// a record locked elsewhere, a file missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "poste_centres.h"

namespace morvanel::testing {
namespace {

using forms::MsgButtons;
using forms::MsgIcon;

void AttendreRecherche(PosteCentres& p) {
  auto& e = p.e();
  EXPECT_EQ(e.Txt_CodCtrUrssaf.Text(), "");
  EXPECT_TRUE(e.Txt_CodCtrUrssaf.Enabled());
  EXPECT_TRUE(e.Cbo_SigleCtrUrssaf.Visible());
  EXPECT_FALSE(e.Txt_SigleCtrUrssaf.Visible());
  EXPECT_EQ(e.Txt_NomCtrUrssaf.Text(), "");
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
  EXPECT_EQ(p.e().Txt_NomCtrUrssaf.Text(), "URSSAF Rhône-Alpes");
  EXPECT_FALSE(p.e().Txt_CodCtrUrssaf.Enabled());
  EXPECT_TRUE(p.e().Txt_SigleCtrUrssaf.Focused());
  EXPECT_EQ(p.etat().ArticleInitial, p.etat().Art_CentreUrssaf->Item());
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

}  // namespace
}  // namespace morvanel::testing
