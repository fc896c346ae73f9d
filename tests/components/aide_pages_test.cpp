// Tests of the help pages shipped beside the control library: each holds
// what the control and F1 open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Lire(const std::string& nom) {
  std::ifstream f(std::filesystem::path(MORVANEL_HELP_DIR) / nom, std::ios::binary);
  std::stringstream texte;
  texte << f.rdbuf();
  return texte.str();
}

// The viewer opening this page is played by the Qt help window test.
TEST(PagesAide, CentrePageIsTitledAndSelfContained) {
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
