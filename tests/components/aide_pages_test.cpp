// Tests of the help pages shipped beside the control library: the viewer
// finds them, and each holds what the control and F1 open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "components/aide/aide_html.h"
#include "components/aide/recording_help_window.h"

namespace {

std::string Lire(const std::string& nom) {
  std::ifstream f(std::filesystem::path(MORVANEL_HELP_DIR) / nom, std::ios::binary);
  std::stringstream texte;
  texte << f.rdbuf();
  return texte.str();
}

TEST(PagesAide, CentrePageIsFoundAndTitled) {
  components::RecordingHelpWindow fenetre;
  components::AideHtml aide(&fenetre);
  aide.SetDossierAide(MORVANEL_HELP_DIR);
  std::string page = "CentreUrssaf.htm", code = "P", titre = "Les Centres URSSAF", quatrieme;
  EXPECT_EQ(aide.Afficher_Aide(page, code, titre, quatrieme), "");

  const std::string html = Lire("CentreUrssaf.htm");
  EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(html.find("<title>Les Centres URSSAF</title>"), std::string::npos);
  EXPECT_NE(html.find("lang=\"fr\""), std::string::npos);
  // Self-contained: nothing fetched from elsewhere.
  EXPECT_EQ(html.find("http"), std::string::npos);
  EXPECT_EQ(html.find("<script"), std::string::npos);
}

TEST(PagesAide, HelpFileHoldsTheTopicOfContext10) {
  const std::string hlp = Lire("Morvanel.HLP");
  EXPECT_NE(hlp.find("id=\"contexte-10\""), std::string::npos);
  EXPECT_NE(hlp.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_EQ(hlp.find("<script"), std::string::npos);
}

}  // namespace
