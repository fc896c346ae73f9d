// The rate editor on the Qt binding: a click on a real list row or a drag of
// a real scroll bar brings the two lists and the two bars to one line, each
// handler running once (Qt's own change signals are not handled again), and
// a double-click opens the line for modification.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <QtTest/QTest>
#include <QWheelEvent>

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

// One application per test, gone at its end: Qt must be torn down before
// its own statics are.
struct TestApplication {
  static bool UseOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
  }
  bool offscreen = UseOffscreen();
  int argc = 1;
  char programme[21] = "ratehistory_qt_tests";
  char* argv[2] = {programme, nullptr};
  QApplication app{argc, argv};
};

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

TEST(EditeurQt, RealRowsAndBarsRippleToOneLineWithOneHandlingEach) {
  TestApplication application;
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

// Whatever moves a list (the wheel, keys, a click, a bar, a drag across the
// rows), both lists show the same top line and select the same line as both
// bars, in Qt as in the model; in the modify state too.
TEST(EditeurQt, EveryWayAListMovesKeepsBothListsAndBarsOnOneLine) {
  TestApplication application;
  PosteCentres p(CinqLignes());
  forms::qt::QtFormView vue(p.ctl->Controls(), p.services);
  vue.show();
  Settle();
  p.Montrer("08");
  Settle();
  auto& e = p.e();
  auto* dates = qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Date));
  auto* taux = qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Valeur));
  auto* barreDates = qobject_cast<QScrollBar*>(vue.WidgetOf(e.Bdv_Date));
  auto* barreTaux = qobject_cast<QScrollBar*>(vue.WidgetOf(e.Bdv_Valeur));
  ASSERT_TRUE(dates && taux && barreDates && barreTaux);
  // Three whole lines, and each bar ends where its list ends.
  EXPECT_EQ(dates->height(), 3 * dates->sizeHintForRow(0) + 2 * dates->frameWidth());
  EXPECT_EQ(barreDates->geometry().bottom(), dates->geometry().bottom());
  EXPECT_EQ(barreTaux->geometry().bottom(), taux->geometry().bottom());

  const auto haut = [](QListView* l) { return l->indexAt(QPoint(2, 2)).row(); };
  const auto choisie = [](QListView* l) {
    const QModelIndexList rows = l->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
  };
  const auto molette = [](QListView* l, int crans) {
    QWidget* cible = l->viewport();
    const QPointF at(cible->rect().center());
    QWheelEvent roue(at, cible->mapToGlobal(at), QPoint(), QPoint(0, -120 * crans), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(cible, &roue);
  };
  const auto ligne = [](QListView* l, int row) {
    return l->visualRect(l->model()->index(row, 0)).center();
  };
  const auto touche = [](QListView* l, Qt::Key k) { QTest::keyClick(l, k); };
  const auto glisser = [&](QListView* l, int depuis) {
    // Pressed on a line, the mouse runs down past the last line shown.
    QWidget* vp = l->viewport();
    const QPoint a = ligne(l, depuis);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, a);
    for (int y = a.y(); y < vp->height() - 1; y += 2) QTest::mouseMove(vp, QPoint(a.x(), y));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, QPoint(a.x(), vp->height() - 2));
  };

  constexpr int kSansChoix = -1, kQuelconque = -2;
  struct Cas {
    const char* nom;
    std::function<void()> geste;
    int index;          // the line selected afterwards
    bool enVue = true;  // and in sight (the wheel alone may roll it away)
  };
  const std::vector<Cas> cas = {
      {"wheel down over the dates", [&] { molette(dates, 1); }, kSansChoix},
      {"wheel up over the rates", [&] { molette(taux, -1); }, kSansChoix},
      {"click on a rate",
       [&] { QTest::mouseClick(taux->viewport(), Qt::LeftButton, {}, ligne(taux, 1)); }, 1},
      {"Down in the rates", [&] { touche(taux, Qt::Key_Down); }, 2},
      {"PageDown in the dates", [&] { touche(dates, Qt::Key_PageDown); }, 4},
      {"PageUp in the rates", [&] { touche(taux, Qt::Key_PageUp); }, 2},
      {"Home in the dates", [&] { touche(dates, Qt::Key_Home); }, 0},
      {"End in the rates", [&] { touche(taux, Qt::Key_End); }, 4},
      {"Up in the dates", [&] { touche(dates, Qt::Key_Up); }, 3},
      {"date bar dragged", [&] { barreDates->setSliderPosition(0); }, 0},
      {"rate bar's lower arrow",
       [&] {
         QTest::mouseClick(barreTaux, Qt::LeftButton, {},
                           QPoint(barreTaux->width() / 2, barreTaux->height() - 3));
       },
       1},
      {"drag down the dates", [&] { glisser(dates, 0); }, kQuelconque},
      {"drag down the rates", [&] { glisser(taux, 0); }, kQuelconque},
      {"double-click: modify state",
       [&] {
         QTest::mouseDClick(dates->viewport(), Qt::LeftButton, {}, ligne(dates, haut(dates)));
       },
       kQuelconque},
      {"wheel over the greyed rates", [&] { molette(taux, 1); }, kQuelconque, false},
      {"wheel over the greyed dates", [&] { molette(dates, -1); }, kQuelconque, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    c.geste();
    Settle();
    const int index = e.Lst_Date.ListIndex();
    if (c.index != kQuelconque) {
      EXPECT_EQ(index, c.index);
    }
    EXPECT_EQ(e.Lst_Valeur.ListIndex(), index);
    EXPECT_EQ(choisie(dates), index);
    EXPECT_EQ(choisie(taux), index);
    if (index != kSansChoix && c.enVue) {
      EXPECT_LE(haut(dates), index);
      EXPECT_GT(haut(dates) + 3, index);
    }
    if (index != kSansChoix) {
      EXPECT_EQ(e.Bdv_Date.Value(), index);
      EXPECT_EQ(e.Bdv_Valeur.Value(), index);
      EXPECT_EQ(barreDates->value(), index);
      EXPECT_EQ(barreTaux->value(), index);
    }
    EXPECT_EQ(haut(dates), haut(taux));
  }
  EXPECT_TRUE(e.Cmd_SupprimerRapport.Enabled());  // the double-click opened a line
  EXPECT_TRUE(p.services.messages().empty());
}

}  // namespace
}  // namespace morvanel::testing
