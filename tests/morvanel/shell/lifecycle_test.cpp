// Life cycle of Ctr_Urssaf: Init on an empty file, Init before the host gave
// what it needs, two controls side by side, release. (Init with one or
// several centres: the shell_init scenarios.)
#include <stdexcept>

#include "morvanel/state/library_state.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

using forms::MousePointer;

TEST(InitTest, AnEmptyFileLoadsUnderTheHourglassIntoOneEmptyLineAndAGreyedSearch) {
  BaseTemporaire base;
  Poste p(base.db());
  p.ctl->Init();
  ASSERT_EQ(p["Cbo_SigleCtrUrssaf"].ListCount(), 1);
  EXPECT_EQ(p["Cbo_SigleCtrUrssaf"].List(0), "");
  EXPECT_EQ(p["Txt_CodCtrUrssaf"].Text(), "");
  EXPECT_FALSE(p["Txt_NomCtrUrssaf"].Enabled());
  EXPECT_FALSE(p["Cmd_OK"].Enabled());
  EXPECT_TRUE(p["Txt_CodCtrUrssaf"].Focused());
  EXPECT_TRUE(p.services.messages().empty());
  EXPECT_EQ(p.services.pointerHistory(),
            (std::vector<MousePointer>{MousePointer::Hourglass, MousePointer::Default}));
  EXPECT_EQ(p.services.doEvents(), 1);
  EXPECT_TRUE(p.ctl->Controls().Enabled());
  ASSERT_NE(p.etat().ItemTemp, nullptr);
  EXPECT_EQ(p.etat().ItemTemp->Item(), "");
  EXPECT_EQ(p.ctl->W_Sortir(), 0);
}

TEST(InitTest, WithoutDatabaseOrRightsTheHostIsToldAndNothingBreaks) {
  BaseTemporaire base;
  {
    forms::headless::HeadlessServices services;
    shell::Ctr_Urssaf ctl(services);
    ctl.DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
    try {
      ctl.Init();
      FAIL() << "Init without a database must fail";
    } catch (const HostSetupError& e) {
      EXPECT_NE(std::string(e.what()).find("TheDatabase"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(ctl.Controls().Enabled());
    EXPECT_EQ(services.mousePointer(), MousePointer::Default);
  }
  {
    forms::headless::HeadlessServices services;
    shell::Ctr_Urssaf ctl(services);
    ctl.TheDatabase(base.db());
    EXPECT_THROW(ctl.Init(), std::logic_error);
    EXPECT_TRUE(ctl.Controls().Enabled());
    EXPECT_TRUE(services.messages().empty());
  }
}

TEST(InitTest, ADatabaseFailureDoesNotLeaveTheControlDisabled) {
  BaseTemporaire base;
  base.db()->DeleteFile("ELTSPARTEMP");
  Poste p(base.db());
  EXPECT_THROW(p.ctl->Init(), dba::DbaError);
  EXPECT_TRUE(p.ctl->Controls().Enabled());
  EXPECT_EQ(p.services.mousePointer(), MousePointer::Default);
}

TEST(TwoControlsTest, EachKeepsItsOwnCentreAndOutlivesTheOther) {
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "01", {{1, "URSSAF NORD"}, {2, "Urssaf du Nord"}, {17, "0"}});
  base.Ecrire("CENTREURSSAF", "02", {{1, "URSSAF SUD"}, {2, "Urssaf du Sud"}, {17, "0"}});
  state::LibraryState& lib = state::LibraryState::Instance();
  auto premier = std::make_unique<Poste>(base.db());
  Poste second(base.db());
  premier->ctl->Init();
  second.ctl->Init();
  // GIVEN each control showing its own centre
  premier->saisie.Type((*premier)["Txt_CodCtrUrssaf"], "01");
  second.saisie.Type(second["Txt_CodCtrUrssaf"], "02");
  EXPECT_EQ((*premier)["Txt_NomCtrUrssaf"].Text(), "Urssaf du Nord");
  EXPECT_EQ(second["Txt_NomCtrUrssaf"].Text(), "Urssaf du Sud");
  EXPECT_EQ(premier->etat().Art_CentreUrssaf->Key(), "01");
  EXPECT_EQ(second.etat().Art_CentreUrssaf->Key(), "02");
  EXPECT_EQ(lib.Instances(), 2);
  // WHEN the first is released
  premier.reset();
  // THEN the second still reads and lists centres, and the help stays open
  EXPECT_TRUE(lib.TheDatabase);
  EXPECT_TRUE(lib.F_CentreUrssaf.IsOpen());
  EXPECT_TRUE(second.services.helpClosed().empty());
  second.ctl->Vider_Donnees();
  second.saisie.Type(second["Txt_CodCtrUrssaf"], "01");
  EXPECT_EQ(second["Txt_NomCtrUrssaf"].Text(), "Urssaf du Nord");
  second.ctl->Remplir_CentreUrssaf();
  EXPECT_EQ(second["Cbo_SigleCtrUrssaf"].ListCount(), 2);
  EXPECT_TRUE(second.services.messages().empty());
}

TEST(TwoControlsTest, TheLastReleaseClosesTheHelpAndReleasesTheDatabase) {
  BaseTemporaire base;
  state::LibraryState& lib = state::LibraryState::Instance();
  forms::headless::HeadlessServices services;
  {
    shell::Ctr_Urssaf a(services);
    {
      shell::Ctr_Urssaf b(services);
      b.TheDatabase(base.db());
    }
    EXPECT_TRUE(services.helpClosed().empty()) << "another control still uses the help";
    EXPECT_TRUE(lib.TheDatabase);
  }
  ASSERT_EQ(services.helpClosed().size(), 1u);
  EXPECT_EQ(services.helpClosed()[0], lib.helpFile);
  EXPECT_FALSE(lib.TheDatabase);
  EXPECT_FALSE(lib.F_CentreUrssaf.IsOpen());
  EXPECT_EQ(lib.Instances(), 0);
}

}  // namespace
}  // namespace morvanel::testing
