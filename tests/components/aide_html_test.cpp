// Tests of the help viewer: the page shown with its title, the missing page,
// names that would leave the help folder, the window's absence.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "components/aide/aide_html.h"
#include "components/aide/recording_help_window.h"
#include "components/client.h"

namespace {

namespace fs = std::filesystem;
using components::AideHtml;
using components::RecordingHelpWindow;

class AideHtmlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = fs::temp_directory_path() /
               ("aide_test_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dossier_ / "sous");
    std::ofstream(dossier_ / "CentreUrssaf.htm") << "<html><body>Aide</body></html>";
    std::ofstream(dossier_ / "sous" / "Cache.htm") << "<html></html>";
    aide_.SetDossierAide(dossier_.string());
  }
  void TearDown() override { fs::remove_all(dossier_); }

  std::string Afficher(std::string page, std::string code = "P",
                       std::string titre = "Les Centres URSSAF", std::string quatrieme = "") {
    return aide_.Afficher_Aide(page, code, titre, quatrieme);
  }

  fs::path dossier_;
  RecordingHelpWindow fenetre_;
  AideHtml aide_{&fenetre_};
};

TEST_F(AideHtmlTest, ShowsThePageOfTheHelpFolderWithItsTitle) {
  aide_.Client_Aide(std::make_shared<components::Client>("C01", "Boulangerie Martin", "clerk"));
  EXPECT_EQ(Afficher("CentreUrssaf.htm"), "");
  ASSERT_EQ(fenetre_.History().size(), 1u);
  const auto& vu = fenetre_.History()[0];
  EXPECT_EQ(fs::path(vu.path), fs::absolute(dossier_ / "CentreUrssaf.htm").lexically_normal());
  EXPECT_TRUE(fs::path(vu.path).is_absolute());
  EXPECT_EQ(vu.title, "Les Centres URSSAF");
  EXPECT_EQ(vu.message, "");
  EXPECT_TRUE(fenetre_.IsOpen());
  // A fourth text opens the page at that anchor.
  const std::string chemin = vu.path;  // the history grows: keep no reference
  EXPECT_EQ(Afficher("CentreUrssaf.htm", "p", "Aide", "historique"), "");
  ASSERT_EQ(fenetre_.History().size(), 2u);
  EXPECT_EQ(fenetre_.History()[1].path, chemin + "#historique");
}

TEST_F(AideHtmlTest, MissingOrForbiddenPageShowsPageIntrouvableAndReportsIt) {
  for (const char* page : {"Absente.htm", "", "..", "../CentreUrssaf.htm", "sous/Cache.htm",
                           "sous\\Cache.htm", "sous"}) {
    SCOPED_TRACE(page);
    RecordingHelpWindow fenetre;
    aide_.SetHelpWindow(&fenetre);
    const std::string erreur = Afficher(page);
    EXPECT_NE(erreur.find("introuvable"), std::string::npos) << erreur;
    ASSERT_EQ(fenetre.History().size(), 1u);
    EXPECT_EQ(fenetre.History()[0].path, "");  // no page opened
    EXPECT_NE(fenetre.History()[0].message.find("Page introuvable"), std::string::npos);
    EXPECT_EQ(fenetre.History()[0].title, "Les Centres URSSAF");
  }
}

TEST_F(AideHtmlTest, NoWindowOrUnknownCodeShowsNothingAndSaysWhy) {
  EXPECT_NE(Afficher("CentreUrssaf.htm", "Z"), "");
  EXPECT_TRUE(fenetre_.History().empty());

  AideHtml sansFenetre;
  std::string page = "CentreUrssaf.htm", code = "P", titre = "T", quatrieme;
  EXPECT_NE(sansFenetre.Afficher_Aide(page, code, titre, quatrieme), "");
  sansFenetre.Fermer_Aide();  // harmless without a window
}

TEST_F(AideHtmlTest, CloseClosesTheOpenWindowOnce) {
  aide_.Fermer_Aide();
  EXPECT_EQ(fenetre_.Closes(), 0);
  Afficher("CentreUrssaf.htm");
  aide_.Fermer_Aide();
  aide_.Fermer_Aide();
  EXPECT_FALSE(fenetre_.IsOpen());
  EXPECT_EQ(fenetre_.Closes(), 1);
}

}  // namespace
