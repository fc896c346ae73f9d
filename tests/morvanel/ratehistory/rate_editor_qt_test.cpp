// The rate editor on the Qt binding: a click on a real list row or a drag of
// a real scroll bar brings the two lists and the two bars to one line, each
// handler running once (Qt's own change signals are not handled again), and
// a double-click opens the line for modification.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <QtTest/QTest>

#include <functional>
#include <map>
#include <string>

#include "fields/poste_centres.h"
#include "forms/qt/qt_form_view.h"

namespace morvanel::testing {
namespace {

std::vector<Enregistrement> CinqLignes() {
  auto d = DonneesParDefaut();
  std::vector<std::string> dates;
  for (const char* j : {"01/01/2024", "01/01/2023", "01/01/2022", "01/01/2021", "01/01/2020"}) {
    dates.push_back(DateStockee(j));
  }
  d.push_back({"CENTREURSSAF",
               "08",
               {{1, "URSSAF CINQ"},
                {2, "Cinq lignes"},
                {16, "001"},
                {17, "0"},
                {20, Valeurs(dates)},
                {21, Valeurs({"5000", "4000", "3000", "2000", "1000"})}}});
  return d;
}

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

TEST(EditeurQt, RealRowsAndBarsRippleToOneLineWithOneHandlingEach) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char programme[] = "ratehistory_qt_tests";
  char* argv[] = {programme, nullptr};
  QApplication app(argc, argv);
  PosteCentres p(CinqLignes());
  forms::qt::QtFormView vue(p.ctl->Controls(), p.services);
  vue.show();
  Settle();
  p.Montrer("08");
  Settle();
  auto& e = p.e();

  // Each handler counted, then run as installed.
  std::map<std::string, int> appels;
  for (forms::Control* c : {&e.Lst_Date, &e.Lst_Valeur}) {
    c->Click = [c, &appels, suite = c->Click] {
      ++appels[c->Name()];
      suite();
    };
  }
  for (forms::Control* c : {&e.Bdv_Date, &e.Bdv_Valeur}) {
    c->Change = [c, &appels, suite = c->Change] {
      ++appels[c->Name()];
      suite();
    };
  }
  auto* dates = qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Date));
  auto* taux = qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Valeur));
  auto* barre = qobject_cast<QScrollBar*>(vue.WidgetOf(e.Bdv_Valeur));
  ASSERT_TRUE(dates && taux && barre);
  ASSERT_TRUE(barre->isVisible());

  struct Cas {
    const char* nom;
    std::function<void()> geste;
    int index;
  };
  const auto clicSur = [](QListView* liste, int ligne) {
    const QModelIndex i = liste->model()->index(ligne, 0);
    liste->scrollTo(i);
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::NoModifier,
                      liste->visualRect(i).center());
  };
  const std::vector<Cas> cas = {
      {"row of the rates", [&] { clicSur(taux, 3); }, 3},
      {"row of the dates", [&] { clicSur(dates, 1); }, 1},
      {"rate bar dragged", [&] { barre->setSliderPosition(4); }, 4},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    appels.clear();
    c.geste();
    Settle();
    EXPECT_EQ(e.Lst_Date.ListIndex(), c.index);
    EXPECT_EQ(e.Lst_Valeur.ListIndex(), c.index);
    EXPECT_EQ(e.Bdv_Date.Value(), c.index);
    EXPECT_EQ(e.Bdv_Valeur.Value(), c.index);
    EXPECT_EQ(dates->currentIndex().row(), c.index);
    EXPECT_EQ(taux->currentIndex().row(), c.index);
    EXPECT_EQ(barre->value(), c.index);
    for (const char* nom : {"Lst_Date", "Lst_Valeur", "Bdv_Date", "Bdv_Valeur"}) {
      EXPECT_EQ(appels[nom], 1) << nom;
    }
  }

  // A double-click on a real row opens it for modification.
  const QModelIndex ligne = dates->model()->index(2, 0);
  const QPoint at = dates->visualRect(ligne).center();
  QTest::mouseClick(dates->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(dates->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  Settle();
  EXPECT_EQ(e.Txt_Date.Text(), "01/01/2022");
  EXPECT_EQ(e.Txt_Valeur.Text(), "3,000");
  EXPECT_TRUE(e.Cmd_SupprimerRapport.Enabled());
  EXPECT_FALSE(dates->isEnabled());
  EXPECT_TRUE(p.services.messages().empty());
}

}  // namespace
}  // namespace morvanel::testing
