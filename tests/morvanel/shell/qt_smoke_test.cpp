// The control drawn by the Qt binding (offscreen): a code typed into the
// real code box shows the centre, and the only centre shown by Init takes
// the keyboard, as on a user's screen.
#include <QApplication>
#include <QLineEdit>
#include <QStyleOption>
#include <QtTest/QTest>

#include <set>
#include <string>

#include "forms/qt/qt_form_view.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

TEST(QtSmokeTest, TypingACodeIntoTheRealBoxShowsTheCentre) {
  // The application lives in the test, not in a static: Qt must be torn
  // down before its own statics are.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char programme[] = "shell_qt_tests";
  char* argv[] = {programme, nullptr};
  QApplication app(argc, argv);
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "07", {{1, "URSSAF CENTRE"}, {2, "Urssaf du Centre"}, {17, "0"}});
  base.Ecrire("CENTREURSSAF", "08", {{1, "URSSAF OUEST"}, {2, "Urssaf de l'Ouest"}, {17, "0"}});
  Poste p(base.db());
  p.ctl->Init();
  forms::qt::QtFormView vue(p.ctl->Controls(), p.services);
  vue.show();
  QApplication::processEvents();

  auto* boite = qobject_cast<QLineEdit*>(vue.WidgetOf(p["Txt_CodCtrUrssaf"]));
  ASSERT_NE(boite, nullptr);
  auto* nom = qobject_cast<QLineEdit*>(vue.WidgetOf(p["Txt_NomCtrUrssaf"]));
  ASSERT_NE(nom, nullptr);
  EXPECT_FALSE(nom->isEnabled()) << "greyed for the search";

  boite->setFocus();
  QTest::keyClicks(boite, "07");
  QApplication::processEvents();

  EXPECT_EQ(p["Txt_CodCtrUrssaf"].Text(), "07");
  EXPECT_EQ(p["Txt_NomCtrUrssaf"].Text(), "Urssaf du Centre");
  EXPECT_EQ(nom->text().toStdString(), "Urssaf du Centre");
  EXPECT_TRUE(nom->isEnabled());
  EXPECT_FALSE(boite->isEnabled()) << "the code of a shown centre cannot change";
  EXPECT_TRUE(p.services.messages().empty());
}

TEST(QtSmokeTest, WithASingleCentreTypingGoesIntoItsSigleBoxAfterInit) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char programme[] = "shell_qt_tests";
  char* argv[] = {programme, nullptr};
  QApplication app(argc, argv);
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "07", {{1, "URSSAF CENTRE"}, {2, "Urssaf du Centre"}, {17, "0"}});
  Poste p(base.db());
  // GIVEN the screen shown before Init, as a host does
  forms::qt::QtFormView vue(p.ctl->Controls(), p.services);
  vue.show();
  vue.activateWindow();
  QApplication::processEvents();
  // WHEN Init shows the only centre
  p.ctl->Init();
  QApplication::processEvents();
  // THEN the keyboard reaches the sigle box
  auto* sigle = qobject_cast<QLineEdit*>(vue.WidgetOf(p["Txt_SigleCtrUrssaf"]));
  ASSERT_NE(sigle, nullptr);
  ASSERT_EQ(vue.window()->focusWidget(), sigle);
  QTest::keyClicks(vue.window()->focusWidget(), "X");
  QApplication::processEvents();
  EXPECT_EQ(p["Txt_SigleCtrUrssaf"].Text(), "URSSAF CENTREX");
  EXPECT_TRUE(p.services.messages().empty());
}

// Where the keyboard sends the focus, the style draws it: on every control
// Tab reaches, on the button the SNV2 box's Tab jumps to, and on "Sortir"
// after Return on the rate lines' "Ok". A clerk never presses Space on a
// button without seeing which.
TEST(QtSmokeTest, TheFocusTheKeyboardMovesIsDrawnWhereverItLands) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char programme[] = "shell_qt_tests";
  char* argv[] = {programme, nullptr};
  QApplication app(argc, argv);
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "07", {{1, "URSSAF CENTRE"}, {2, "Urssaf du Centre"}, {17, "0"}});
  base.Ecrire("CENTREURSSAF", "08", {{1, "URSSAF OUEST"}, {2, "Urssaf de l'Ouest"}, {17, "0"}});
  Poste p(base.db());
  p.ctl->Init();
  forms::qt::QtFormView vue(p.ctl->Controls(), p.services);
  vue.show();
  vue.activateWindow();
  QApplication::processEvents();
  const auto touche = [&](Qt::Key k) {
    QTest::keyClick(vue.window()->focusWidget(), k);
    QApplication::processEvents();
  };
  QTest::keyClicks(vue.window()->focusWidget(), "07");
  QApplication::processEvents();
  ASSERT_EQ(p["Txt_NomCtrUrssaf"].Text(), "Urssaf du Centre");

  // The focus the model holds, drawn as a keyboard focus by the style.
  const auto dessine = [&]() -> std::string {
    forms::Control* c = p.ctl->Controls().ActiveControl();
    if (c == nullptr) return "(none)";
    QWidget* w = vue.WidgetOf(*c);
    QWidget* qtFocus = vue.window()->focusWidget();
    if (w == nullptr || qtFocus == nullptr ||
        (qtFocus != w && qtFocus->focusProxy() != w && w->focusProxy() != qtFocus &&
         qtFocus->parentWidget() != w)) {
      return c->Name() + " (not the Qt focus)";
    }
    QStyleOption option;
    option.initFrom(qtFocus);
    const bool vu = (option.state & QStyle::State_HasFocus) &&
                    (option.state & QStyle::State_KeyboardFocusChange);
    return vu ? c->Name() : c->Name() + " (focus not drawn)";
  };

  // Round the screen with Tab, then back with Shift+Tab (the SNV2 box's Tab
  // jumps over what lies between it and "Annuler").
  std::set<std::string> atteints;
  for (int i = 0; i < 80; ++i) {
    touche(i < 40 ? Qt::Key_Tab : Qt::Key_Backtab);
    const std::string nom = dessine();
    atteints.insert(nom);
    EXPECT_EQ(nom.find(' '), std::string::npos) << nom;
  }
  for (const char* nom : {"Txt_NomCtrUrssaf", "Txt_CodeSNV2", "Cac_DntJPCtrUrssaf", "Cmd_Supprimer",
                          "Cmd_AdresseBancaire", "Cmd_OK", "Cmd_Annuler", "Cmd_AjouterRapport"}) {
    EXPECT_EQ(atteints.count(nom), 1u) << nom;
  }

  // The SNV2 box's own Tab goes to "Annuler".
  p.ctl->Controls().Get("Txt_CodeSNV2").SetFocus();
  QApplication::processEvents();
  touche(Qt::Key_Tab);
  EXPECT_EQ(dessine(), "Cmd_Annuler");

  // Space on the rate lines' "Ajouter", a line typed, Return on "Ok": the
  // logic sends the focus to "Sortir".
  p.ctl->Controls().Get("Cmd_AjouterRapport").SetFocus();
  QApplication::processEvents();
  touche(Qt::Key_Space);
  EXPECT_EQ(dessine(), "Txt_Date");
  QTest::keyClicks(vue.window()->focusWidget(), "01/01/2030");
  touche(Qt::Key_Tab);
  QTest::keyClicks(vue.window()->focusWidget(), "7");
  touche(Qt::Key_Tab);
  EXPECT_EQ(dessine(), "Cmd_OkRapport");
  touche(Qt::Key_Return);
  EXPECT_EQ(p["Lst_Date"].ListCount(), 1);
  EXPECT_EQ(dessine(), "Cmd_Sortir");
  EXPECT_TRUE(p.services.messages().empty());
}

}  // namespace
}  // namespace morvanel::testing
