// The control drawn by the Qt binding (offscreen): a code typed into the
// real code box shows the centre, as on a user's screen.
#include <QApplication>
#include <QLineEdit>
#include <QtTest/QTest>

#include "morvanel/view/qt/qt_form_view.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

QApplication& Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char nom[] = "qt_smoke_tests";
  static char* argv[] = {nom, nullptr};
  static QApplication app(argc, argv);
  return app;
}

TEST(QtSmokeTest, TypingACodeIntoTheRealBoxShowsTheCentre) {
  Application();
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "07", {{1, "URSSAF CENTRE"}, {2, "Urssaf du Centre"}, {17, "0"}});
  base.Ecrire("CENTREURSSAF", "08", {{1, "URSSAF OUEST"}, {2, "Urssaf de l'Ouest"}, {17, "0"}});
  Poste p(base.db());
  p.ctl->Init();
  view::qt::QtFormView vue(p.ctl->Controls(), p.services);
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

}  // namespace
}  // namespace morvanel::testing
