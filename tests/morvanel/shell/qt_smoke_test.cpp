// The control drawn by the Qt binding (offscreen): a code typed into the
// real code box shows the centre, and the only centre shown by Init takes
// the keyboard, as on a user's screen.
#include <QApplication>
#include <QLineEdit>
#include <QtTest/QTest>

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

}  // namespace
}  // namespace morvanel::testing
