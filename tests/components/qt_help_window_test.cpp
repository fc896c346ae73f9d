// Tests of the Qt help window: it opens titled, shows the page, shows the
// "page introuvable" text, and closes. Runs on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>
#include <QWidget>
#include <filesystem>

#include "components/aide/aide_html.h"
#include "components/aide/qt/qt_help_window.h"

// Fontconfig, loaded by Qt's font database, keeps a cache it never frees;
// the leak checker of sanitized builds must not blame the tests for it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

class QtHelpWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) app_ = new QApplication(argc_, argv_);
  }
  static inline int argc_ = 1;
  static inline char nom_[] = "components_qt_tests";
  static inline char* argv_[] = {nom_, nullptr};
  static inline QApplication* app_ = nullptr;
};

TEST_F(QtHelpWindowTest, PageOpensInATitledWindowClosesAndSaysWhenMissing) {
  components::qt::QtHelpWindow fenetre;
  components::AideHtml aide(&fenetre);
  aide.SetDossierAide(MORVANEL_HELP_DIR);
  std::string page = "CentreUrssaf.htm", code = "P", titre = "Les Centres URSSAF", quatrieme;

  EXPECT_EQ(aide.Afficher_Aide(page, code, titre, quatrieme), "");
  ASSERT_NE(fenetre.Window(), nullptr);
  EXPECT_TRUE(fenetre.Window()->isVisible());
  EXPECT_TRUE(fenetre.Window()->isWindow());
  EXPECT_EQ(fenetre.Window()->windowTitle(), QStringLiteral("Les Centres URSSAF"));
  EXPECT_TRUE(fenetre.Browser()->toPlainText().contains(QStringLiteral("Centre URSSAF")));

  aide.Fermer_Aide();
  EXPECT_FALSE(fenetre.Window()->isVisible());

  // A missing page opens the window again on the text that says so.
  page = "Absente.htm";
  EXPECT_NE(aide.Afficher_Aide(page, code, titre, quatrieme), "");
  EXPECT_TRUE(fenetre.Browser()->toPlainText().startsWith(QStringLiteral("Page introuvable")));
  EXPECT_EQ(fenetre.Window()->windowTitle(), QStringLiteral("Les Centres URSSAF"));
}

}  // namespace
