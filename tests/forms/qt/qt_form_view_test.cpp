// QtFormView: placement in pixels, widget kinds, fonts, tab order, and the
// mirror of the model, which must never read as user input.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>

#include "forms/qt/qt_units.h"
#include "qt_test_support.h"

namespace forms::qt {
namespace {

using testing::ClickAt;
using testing::FreePoint;
using testing::PressKey;
using testing::Screen;

int Px(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

TEST(QtFormViewPlacement, ControlsSitAtTheirTwipsPositionWithTheirFontAndTips) {
  Form form("Frm_Essai", 7200, 4320);
  Control& box = form.Add(Kind::TextBox, "Txt_Code", {1440, 720, 2880, 285});
  Control& frame = form.Add(Kind::Frame, "Cdr_Cadre", {0, 1440, 7200, 2160});
  Control& inner = form.Add(Kind::ListBox, "Lst_Date", {840, 480, 1695, 690}, &frame);
  inner.font = Font{"Courier New", 8.25, false};  // must stay fixed pitch where it is missing
  box.ToolTipText = "Date d'application";
  box.AccessibleName = "Date";
  Screen screen(form);
  const double dpi = screen.view->dpi();

  EXPECT_EQ(screen.view->size(), QSize(Px(7200, dpi), Px(4320, dpi)));
  EXPECT_EQ(screen.view->WidgetOf(box)->geometry(),
            QRect(Px(1440, dpi), Px(720, dpi), Px(2880, dpi), Px(285, dpi)));
  QWidget* list = screen.view->WidgetOf(inner);
  EXPECT_EQ(list->parentWidget(), screen.view->WidgetOf(frame));
  EXPECT_EQ(list->pos(), QPoint(Px(840, dpi), Px(480, dpi)));
  EXPECT_TRUE(QFontInfo(list->font()).fixedPitch());
  EXPECT_EQ(screen.view->WidgetOf(box)->toolTip(), QString::fromUtf8("Date d'application"));
  EXPECT_EQ(screen.view->WidgetOf(box)->accessibleName(), QStringLiteral("Date"));
}

TEST(QtFormViewPlacement, EachKindGetsItsWidgetAndMenusGetNone) {
  Form form("Frm_Essai", 6000, 4000);
  Control& menu = form.Add(Kind::Menu, "Mnu_Aide", {});
  form.Add(Kind::MenuItem, "Mnu_Sommaire", {}, &menu);
  struct Case {
    Kind kind;
    const char* qtClass;
  };
  const std::vector<Case> cases = {
      {Kind::TextBox, "QLineEdit"},  {Kind::ComboBox, "QComboBox"},    {Kind::ListBox, "QListView"},
      {Kind::Button, "QPushButton"}, {Kind::Label, "QLabel"},          {Kind::Frame, "QGroupBox"},
      {Kind::CheckBox, "QCheckBox"}, {Kind::VScrollBar, "QScrollBar"}, {Kind::Embedded, "QWidget"},
  };
  std::vector<Control*> controls;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    controls.push_back(&form.Add(cases[i].kind, "C" + std::to_string(i), {0, 0, 600, 300}));
  }
  Screen screen(form);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    QWidget* widget = screen.view->WidgetOf(*controls[i]);
    ASSERT_NE(widget, nullptr) << cases[i].qtClass;
    EXPECT_TRUE(widget->inherits(cases[i].qtClass)) << widget->metaObject()->className();
  }
  EXPECT_TRUE(qobject_cast<QComboBox*>(screen.view->WidgetOf(*controls[1]))->isEditable());
  EXPECT_EQ(qobject_cast<QScrollBar*>(screen.view->WidgetOf(*controls[7]))->orientation(),
            Qt::Vertical);
  EXPECT_EQ(screen.view->WidgetOf(menu), nullptr);
  EXPECT_EQ(screen.view->WidgetOf(*form.Find("Mnu_Sommaire")), nullptr);
}

// --- mirror ----------------------------------------------------------------------

class QtMirror : public ::testing::Test {
 protected:
  QtMirror() {
    code = &form.Add(Kind::TextBox, "Txt_Code", {120, 120, 600, 285});
    code->TabIndex = 0;
    combo = &form.Add(Kind::ComboBox, "Cbo_Nom", {900, 120, 3000, 315});
    combo->TabIndex = 1;
    list = &form.Add(Kind::ListBox, "Lst_Date", {120, 600, 1500, 900});
    list->TabIndex = 2;
    bar = &form.Add(Kind::VScrollBar, "Bdv_Date", {1700, 600, 270, 900});
    bar->TabIndex = 3;
    check = &form.Add(Kind::CheckBox, "Cac_Option", {120, 1800, 2000, 255});
    check->TabIndex = 4;
    ok = &form.Add(Kind::Button, "Cmd_OK", {3000, 1800, 855, 375});
    ok->TabIndex = 5;
    screen = std::make_unique<Screen>(form);
  }
  template <typename W>
  W* widget(Control* c) {
    return qobject_cast<W*>(screen->view->WidgetOf(*c));
  }

  Form form{"Frm_Essai", 6000, 3000};
  Control *code, *combo, *list, *bar, *check, *ok;
  std::unique_ptr<Screen> screen;
};

TEST_F(QtMirror, EnabledVisibleCaptionsAndFocusFollowTheModel) {
  combo->SetFocus();
  EXPECT_EQ(screen->view->window()->focusWidget(), widget<QComboBox>(combo));
  combo->SetEnabled(false);  // the model moves on to the next control
  EXPECT_TRUE(list->Focused());
  EXPECT_EQ(screen->view->window()->focusWidget(), widget<QListView>(list));
  EXPECT_FALSE(widget<QComboBox>(combo)->isEnabled());
  ok->SetVisible(false);
  check->SetText("Gestion");
  EXPECT_TRUE(widget<QPushButton>(ok)->isHidden());
  EXPECT_EQ(widget<QCheckBox>(check)->text(), QStringLiteral("Gestion"));
  form.SetEnabled(false);
  EXPECT_FALSE(screen->view->isEnabled());
}

TEST_F(QtMirror, ListsFromCodeAreShownAndRaiseOnlyTheModelsOwnEvents) {
  int listClicks = 0, comboClicks = 0, comboChanges = 0, barChanges = 0;
  list->Click = [&] { ++listClicks; };
  combo->Click = [&] { ++comboClicks; };
  combo->Change = [&] { ++comboChanges; };
  bar->Change = [&] { ++barChanges; };
  for (const char* item : {"01/01/2020", "01/07/2021", "01/01/2023"}) list->AddItem(item);
  for (const char* item : {"Alpha", "Beta"}) combo->AddItem(item);
  bar->SetMax(2);

  list->SetListIndex(1);
  combo->SetListIndex(1);
  bar->SetValue(2);
  check->SetValue(1);

  auto* qlist = widget<QListView>(list);
  ASSERT_EQ(qlist->model()->rowCount(), 3);
  EXPECT_EQ(qlist->currentIndex().row(), 1);
  EXPECT_EQ(qlist->model()->index(2, 0).data().toString(), QStringLiteral("01/01/2023"));
  EXPECT_EQ(widget<QComboBox>(combo)->currentText(), QStringLiteral("Beta"));
  EXPECT_EQ(widget<QScrollBar>(bar)->maximum(), 2);
  EXPECT_EQ(widget<QScrollBar>(bar)->value(), 2);
  EXPECT_TRUE(widget<QCheckBox>(check)->isChecked());
  // One event each, from the model: the mirror fed nothing back.
  EXPECT_EQ(listClicks, 1);
  EXPECT_EQ(comboClicks, 1);
  EXPECT_EQ(comboChanges, 0);
  EXPECT_EQ(barChanges, 1);

  list->RemoveItem(1);
  EXPECT_EQ(qlist->model()->rowCount(), 2);
  EXPECT_EQ(qlist->model()->index(1, 0).data().toString(), QStringLiteral("01/01/2023"));
  EXPECT_EQ(qlist->currentIndex().row(), -1);
  EXPECT_FALSE(qlist->selectionModel()->hasSelection());
  combo->Clear();
  EXPECT_EQ(widget<QComboBox>(combo)->count(), 0);
  EXPECT_EQ(widget<QComboBox>(combo)->currentText(), QString());
}

TEST_F(QtMirror, AFullHistoryGivenAtOnceShowsEveryLineAndKeepsThePick) {
  int listClicks = 0;
  list->Click = [&] { ++listClicks; };
  // GIVEN a list showing one picked line
  list->AddItem("Taux n°0");
  list->SetListIndex(0);
  // WHEN the rest of a 32767-line history comes in one call
  std::vector<std::string> lines;
  for (int i = 1; i < 32767; ++i) lines.push_back("Taux n°" + std::to_string(i));
  list->AddItems(std::move(lines));
  // THEN every line is there, the last one readable, and the pick stays put
  auto* qlist = widget<QListView>(list);
  ASSERT_EQ(qlist->model()->rowCount(), 32767);
  EXPECT_EQ(qlist->model()->index(32766, 0).data().toString(), QString::fromUtf8("Taux n°32766"));
  EXPECT_EQ(qlist->currentIndex().row(), 0);
  EXPECT_EQ(listClicks, 1);  // the mirror raised nothing
  // WHEN the list is emptied, nothing is left shown or picked
  list->Clear();
  EXPECT_EQ(qlist->model()->rowCount(), 0);
  EXPECT_FALSE(qlist->selectionModel()->hasSelection());
  EXPECT_EQ(listClicks, 1);
}

// A line put inside the list is told to the view (and to a screen reader)
// where it went; lines added at the end, after it.
TEST_F(QtMirror, ALineInsertedInsideTheListIsToldWhereItWent) {
  for (const char* item : {"01/01/2023", "01/07/2021", "01/01/2020"}) list->AddItem(item);
  list->SetListIndex(2);
  auto* qlist = widget<QListView>(list);
  std::vector<std::pair<int, int>> told;
  QObject::connect(
      qlist->model(), &QAbstractItemModel::rowsInserted,
      [&](const QModelIndex&, int first, int last) { told.emplace_back(first, last); });
  list->AddItem("01/01/2022", 1);
  list->AddItem("01/01/2019");
  list->AddItem("01/01/2024", 0);
  EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, 1}, {4, 4}, {0, 0}}));
  QStringList rows;
  for (int r = 0; r < qlist->model()->rowCount(); ++r) {
    rows << qlist->model()->index(r, 0).data().toString();
  }
  EXPECT_EQ(rows, QStringList({"01/01/2024", "01/01/2023", "01/01/2022", "01/07/2021", "01/01/2020",
                               "01/01/2019"}));
  EXPECT_EQ(qlist->currentIndex().row(), 4);  // the picked line moved down with its entry
}

TEST_F(QtMirror, ACheckBoxShowsOnlyWhatTheModelKeeps) {
  // GIVEN a check box whose Click puts the tick back at once
  check->Click = [&] { check->SetValue(0); };
  auto* box = widget<QCheckBox>(check);
  ok->SetFocus();
  // WHEN the user ticks it with the mouse or the space bar
  box->click();
  EXPECT_EQ(check->Value(), 0);
  EXPECT_FALSE(box->isChecked());
  PressKey(screen->view.get(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  // THEN the screen never shows a tick the model refused
  EXPECT_EQ(check->Value(), 0);
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(check->Focused());
}

// A key that moves nowhere raises nothing; a combo's pick raises no Change.
TEST_F(QtMirror, ArrowKeysOnAComboOrAListPickThroughTheModel) {
  for (const char* item : {"Alpha", "Beta", "Gamma"}) combo->AddItem(item);
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) lines.push_back(std::to_string(i));
  list->AddItems(std::move(lines));
  std::vector<std::string> clicks;
  int changes = 0;
  combo->Click = [&] { clicks.push_back(combo->Text()); };
  combo->Change = [&] { ++changes; };
  list->Click = [&] { clicks.push_back(list->Text()); };
  combo->SetFocus();
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) PressKey(screen->view.get(), key);
  list->SetFocus();
  for (Qt::Key key :
       {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Down, Qt::Key_Home}) {
    PressKey(screen->view.get(), key);
  }
  EXPECT_EQ(clicks, (std::vector<std::string>{"Alpha", "Beta", "Alpha", "0", "1", "0", "39", "0"}));
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(widget<QComboBox>(combo)->currentText(), QStringLiteral("Alpha"));
  EXPECT_EQ(widget<QListView>(list)->currentIndex().row(), 0);
}

// --- mouse buttons on the surface -----------------------------------------------

TEST(QtSurfaceMouse, ButtonsOnTheSurfaceReachItInTwipsAndOnControlsDoNot) {
  Form form("Frm_Essai", 6000, 4000);
  Control& label = form.Add(Kind::Label, "Etq_Code", {120, 120, 1000, 255});
  Control& button = form.Add(Kind::Button, "Cmd_OK", {1200, 120, 855, 375});
  std::vector<std::vector<float>> downs;
  form.MouseDown = [&](int b, int, float x, float y) { downs.push_back({float(b), x, y}); };
  Screen screen(form);
  const double dpi = screen.view->dpi();

  ClickAt(screen.view.get(), QPoint(300, 200), Qt::RightButton);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0][0], kMouseRight);
  EXPECT_NEAR(downs[0][1], 300 * 1440.0 / dpi, 1.0);
  EXPECT_NEAR(downs[0][2], 200 * 1440.0 / dpi, 1.0);

  // A right click on a label or a button is theirs: no surface menu.
  ClickAt(screen.view->WidgetOf(label), QPoint(2, 2), Qt::RightButton);
  ClickAt(screen.view->WidgetOf(button), QPoint(2, 2), Qt::RightButton);
  EXPECT_EQ(downs.size(), 1u);
  ClickAt(screen.view.get(), FreePoint(screen.view.get()), Qt::LeftButton);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[1][0], kMouseLeft);
}

TEST(QtSurfaceMouse, GrabRendersTheSurfaceWithoutADisplay) {
  Form form("Frm_Essai", 1440, 720);
  form.Add(Kind::Button, "Cmd_OK", {120, 120, 855, 375}).SetText("OK");
  QtServices services;
  QtFormView view(form, services);  // never shown
  const QImage image = view.Grab();
  EXPECT_EQ(image.size(), view.sizeHint() * image.devicePixelRatio());
  EXPECT_FALSE(image.isNull());
}

}  // namespace
}  // namespace forms::qt
