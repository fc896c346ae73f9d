// The rate editor on the Qt binding: whatever moves a real list or a real
// scroll bar brings the two lists and the two bars to one line, each handler
// running once, and a double-click opens the line for modification.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <QtTest/QTest>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fields/poste_centres.h"
#include "forms/qt/qt_form_view.h"

namespace morvanel::testing {
namespace {

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

// Every row a Qt list view shows, as text.
std::vector<std::string> Lignes(QListView* l) {
  std::vector<std::string> texte;
  for (int i = 0; i < l->model()->rowCount(); ++i)
    texte.push_back(l->model()->index(i, 0).data().toString().toStdString());
  return texte;
}

// A centre shown on the Qt window, its events handled.
struct CentreALEcran {
  CentreALEcran(const std::vector<Enregistrement>& donnees, const char* code)
      : p(donnees), vue(p.ctl->Controls(), p.services) {
    vue.show();
    Settle();
    p.Montrer(code);
    Settle();
  }
  TestApplication application;
  PosteCentres p;
  forms::qt::QtFormView vue;
};

// Whatever moves a list (the wheel, keys, a click, a bar, a drag across the
// rows), both lists show the same top line and select the same line as both
// bars, in Qt as in the model; in the modify state too. A click on a row or
// a bar runs each handler once: Qt's own change signals are not handled
// again.
TEST(EditeurQt, EveryWayAListMovesKeepsBothListsAndBarsOnOneLine) {
  CentreALEcran ecran(CinqLignes(), "08");
  auto& p = ecran.p;
  auto& vue = ecran.vue;
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
    int index;             // the line selected afterwards
    bool enVue = true;     // and in sight (the wheel alone may roll it away)
    bool uneFois = false;  // each of the four handlers ran once
  };
  const std::vector<Cas> cas = {
      {"wheel down over the dates", [&] { molette(dates, 1); }, kSansChoix},
      {"wheel up over the rates", [&] { molette(taux, -1); }, kSansChoix},
      {"click on a date",
       [&] { QTest::mouseClick(dates->viewport(), Qt::LeftButton, {}, ligne(dates, 2)); }, 2, true,
       true},
      {"click on a rate",
       [&] { QTest::mouseClick(taux->viewport(), Qt::LeftButton, {}, ligne(taux, 1)); }, 1, true,
       true},
      {"Down in the rates", [&] { touche(taux, Qt::Key_Down); }, 2},
      {"PageDown in the dates", [&] { touche(dates, Qt::Key_PageDown); }, 4},
      {"PageUp in the rates", [&] { touche(taux, Qt::Key_PageUp); }, 2},
      {"Home in the dates", [&] { touche(dates, Qt::Key_Home); }, 0},
      {"End in the rates", [&] { touche(taux, Qt::Key_End); }, 4},
      {"Up in the dates", [&] { touche(dates, Qt::Key_Up); }, 3},
      {"date bar dragged", [&] { barreDates->setSliderPosition(0); }, 0, true, true},
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
    appels.clear();
    c.geste();
    Settle();
    for (const char* nom : {"Lst_Date", "Lst_Valeur", "Bdv_Date", "Bdv_Valeur"}) {
      if (c.uneFois) {
        EXPECT_EQ(appels[nom], 1) << nom;
      }
    }
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
  // The double-click opened its line for modification.
  EXPECT_TRUE(e.Cmd_SupprimerRapport.Enabled());
  EXPECT_FALSE(dates->isEnabled());
  EXPECT_EQ(e.Txt_Date.Text(), e.Lst_Date.List(e.Lst_Date.ListIndex()));
  EXPECT_EQ(e.Txt_Valeur.Text(), e.Lst_Valeur.List(e.Lst_Date.ListIndex()));
  EXPECT_TRUE(p.services.messages().empty());
}

// A history kept newest first takes each "Ok" without a refill: the typed
// line goes to its place in the record, in both lists and in both Qt views,
// exactly as a refill from the record shows it.
TEST(EditeurQt, OkPutsTheTypedLineWhereARefillWouldShowIt) {
  CentreALEcran ecran(CinqLignes(), "08");
  auto& p = ecran.p;
  auto& vue = ecran.vue;
  auto& e = p.e();
  auto* dates = qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Date));
  auto* taux = qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Valeur));
  ASSERT_TRUE(dates && taux);
  struct Cas {
    int ligne;  // -1: "Ajouter", else the line opened by a double-click
    const char* date;
    const char* taux;
  };
  for (const Cas& c :
       {Cas{-1, "01/06/2022", "2"}, Cas{-1, "01/01/2030", "3"}, Cas{-1, "01/01/1990", "4"},
        Cas{0, "02/01/2021", "5"}, Cas{6, "01/06/2024", "6"}, Cas{3, "01/07/2022", "7"}}) {
    SCOPED_TRACE(std::string(c.date) + " over line " + std::to_string(c.ligne));
    if (c.ligne < 0) {
      p.clerc().Click(e.Cmd_AjouterRapport);
    } else {
      p.clerc().DblClick(e.Lst_Date, c.ligne);
      e.Txt_Date.SetText("");
      e.Txt_Valeur.SetText("");
    }
    p.clerc().Type(e.Txt_Date, c.date);
    p.clerc().Type(e.Txt_Valeur, c.taux);
    p.clerc().Click(e.Cmd_OkRapport);
    Settle();
    const std::vector<std::string> vusDates = e.Lst_Date.Items(), vusTaux = e.Lst_Valeur.Items();
    EXPECT_EQ(Lignes(dates), vusDates);
    EXPECT_EQ(Lignes(taux), vusTaux);
    p.ctl->Remplir_Valeur();
    EXPECT_EQ(e.Lst_Date.Items(), vusDates);
    EXPECT_EQ(e.Lst_Valeur.Items(), vusTaux);
    EXPECT_NE(std::find(vusDates.begin(), vusDates.end(), c.date), vusDates.end());
    std::vector<long long> jours;
    for (const std::string& d : p.etat().Art_CentreUrssaf->Values(20))
      jours.push_back(std::stoll(d));
    EXPECT_TRUE(std::is_sorted(jours.rbegin(), jours.rend()));
  }
  EXPECT_TRUE(p.services.messages().empty());
}

// A host that re-sorted a history shown out of order, without a refill: the
// lists no longer show the record, and "Ok" shows it whole again.
TEST(EditeurQt, OkAfterAHostReSortShowsTheWholeHistoryAgain) {
  CentreALEcran ecran(DonneesParDefaut(), "07");  // stored oldest first, shown as stored
  auto& p = ecran.p;
  auto& vue = ecran.vue;
  auto& e = p.e();
  p.ctl->Trier_Par_Date();
  p.clerc().Click(e.Cmd_AjouterRapport);
  p.clerc().Type(e.Txt_Date, "01/06/2022");
  p.clerc().Type(e.Txt_Valeur, "2");
  p.clerc().Click(e.Cmd_OkRapport);
  Settle();
  EXPECT_EQ(e.Lst_Date.Items(),
            (std::vector<std::string>{"01/01/2024", "01/01/2023", "01/06/2022", "01/01/2022"}));
  EXPECT_EQ(Lignes(qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Date))), e.Lst_Date.Items());
  EXPECT_EQ(Lignes(qobject_cast<QListView*>(vue.WidgetOf(e.Lst_Valeur))), e.Lst_Valeur.Items());
}

}  // namespace
}  // namespace morvanel::testing
