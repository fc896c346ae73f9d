// UniformListView against Qt's own QListView on the same rows: the same
// scroll bars, places, hit tests, scrolls, cursor moves and pixels, from a
// few rows to a history's 32767; and a long list box driven as a clerk does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QWheelEvent>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QTest>

#include "forms/qt/uniform_list_view.h"
#include "qt_test_support.h"

namespace forms::qt {
namespace {

using testing::ClickAt;
using testing::PressKey;
using testing::Screen;
using testing::Settle;

// The protected parts both views answer through.
template <class View>
struct Open : View {
  using typename View::CursorAction;
  using View::horizontalOffset;
  using View::moveCursor;
  using View::verticalOffset;
};

void Wheel(QListView& view, int notches) {
  QWidget* target = view.viewport();
  const QPointF at(5, 5);
  QWheelEvent wheel(at, target->mapToGlobal(at), {}, {0, -120 * notches}, Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}

QStringList Rows(int count) {
  QStringList rows;
  rows.reserve(count);
  for (int i = 0; i < count; ++i) rows << QStringLiteral("%1/04/2024").arg(i);
  return rows;
}

struct Pair {
  Pair(int rows, QSize size) : model(Rows(rows)) {
    for (QListView* view : {static_cast<QListView*>(&ours), static_cast<QListView*>(&qts)}) {
      view->setModel(&model);
      view->setUniformItemSizes(true);
      view->setSelectionMode(QAbstractItemView::SingleSelection);
      view->resize(size);
      view->show();
    }
    Settle();
  }
  QStringListModel model;
  Open<UniformListView> ours;
  Open<QListView> qts;
};

// What the two views are compared on at one moment.
std::string Describe(QListView& view, QStringListModel& model, bool ours) {
  const auto rect = [](QRect r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
  };
  const QScrollBar* v = view.verticalScrollBar();
  const QScrollBar* h = view.horizontalScrollBar();
  std::string out = "v " + std::to_string(v->minimum()) + ".." + std::to_string(v->maximum()) +
                    " page " + std::to_string(v->pageStep()) + " at " + std::to_string(v->value()) +
                    " shown " + std::to_string(v->isVisible()) + "; h .." +
                    std::to_string(h->maximum()) + " shown " + std::to_string(h->isVisible()) +
                    "; viewport " + rect(view.viewport()->rect());
  const int offset = ours ? static_cast<Open<UniformListView>&>(view).verticalOffset()
                          : static_cast<Open<QListView>&>(view).verticalOffset();
  out += "; offset " + std::to_string(offset);
  const int count = model.rowCount();
  for (int row : {0, 1, count / 2, count - 1}) {
    if (row < 0 || row >= count) continue;
    out += "; row " + std::to_string(row) + " at " + rect(view.visualRect(model.index(row)));
  }
  const int bottom = view.viewport()->height() - 1;
  for (QPoint p : {QPoint(1, 0), QPoint(view.viewport()->width() - 1, 13), QPoint(3, bottom),
                   QPoint(3, bottom + 40)}) {
    out += "; hit " + std::to_string(view.indexAt(p).row());
  }
  return out;
}

TEST(UniformListView, PlacesScrollsAndMovesAsQListViewDoes) {
  using Hint = QAbstractItemView::ScrollHint;
  struct Case {
    int rows;
    int height;  // of the widget: whole rows, and a row and a half more
  };
  for (const Case c : {Case{0, 60}, Case{3, 60}, Case{4, 60}, Case{10, 60}, Case{10, 67},
                       Case{32767, 60}, Case{32767, 67}}) {
    SCOPED_TRACE("rows " + std::to_string(c.rows) + ", height " + std::to_string(c.height));
    Pair p(c.rows, QSize(90, c.height));
    const auto same = [&p](const char* moment) {
      SCOPED_TRACE(moment);
      EXPECT_EQ(Describe(p.ours, p.model, true), Describe(p.qts, p.model, false));
    };
    same("shown");
    for (int row : {c.rows - 1, c.rows / 2, 1, 0, c.rows / 3}) {
      if (row < 0 || row >= c.rows) continue;
      for (Hint hint : {Hint::EnsureVisible, Hint::PositionAtTop, Hint::PositionAtBottom,
                        Hint::PositionAtCenter, Hint::EnsureVisible}) {
        p.ours.scrollTo(p.model.index(row), hint);
        p.qts.scrollTo(p.model.index(row), hint);
        same(("scrolled to row " + std::to_string(row) + " hint " + std::to_string(hint)).c_str());
      }
    }
    using Move = Open<QListView>::CursorAction;
    for (int from : {-1, 0, 1, c.rows / 2, c.rows - 2, c.rows - 1}) {
      if (from >= c.rows) continue;
      for (QListView* view : {static_cast<QListView*>(&p.ours), static_cast<QListView*>(&p.qts)})
        view->setCurrentIndex(p.model.index(from));
      for (int move = 0; move <= 9; ++move) {  // MoveUp to MovePrevious
        EXPECT_EQ(p.ours.moveCursor(static_cast<Move>(move), {}).row(),
                  p.qts.moveCursor(static_cast<Move>(move), {}).row())
            << "from " << from << " move " << move;
      }
    }
    // The wheel, three rows a notch, and the bar dragged to its end.
    for (QListView* view : {static_cast<QListView*>(&p.ours), static_cast<QListView*>(&p.qts)}) {
      view->verticalScrollBar()->setValue(0);
      Wheel(*view, 2);
    }
    same("wheeled two notches");
    for (QListView* view : {static_cast<QListView*>(&p.ours), static_cast<QListView*>(&p.qts)})
      view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    same("bar at its end");
  }
}

TEST(UniformListView, DrawsTheRowsShownAsQListViewDoes) {
  Pair p(32767, QSize(90, 67));
  for (QListView* view : {static_cast<QListView*>(&p.ours), static_cast<QListView*>(&p.qts)}) {
    view->verticalScrollBar()->setValue(20000);
    view->setCurrentIndex(p.model.index(20002));
  }
  Settle();
  EXPECT_EQ(p.ours.indexAt(QPoint(2, 2)).row(), 20000);
  for (bool focused : {false, true}) {
    SCOPED_TRACE(focused ? "focused" : "without focus");
    QImage images[2];
    int i = 0;
    for (QListView* view : {static_cast<QListView*>(&p.ours), static_cast<QListView*>(&p.qts)}) {
      if (focused) {
        view->activateWindow();
        view->setFocus(Qt::TabFocusReason);
        Settle();
        ASSERT_TRUE(view->hasFocus());
      }
      images[i++] = view->grab().toImage();
    }
    EXPECT_TRUE(images[0] == images[1]);
  }
}

// A list box of 32767 lines: the wheel, a click and the keys land on the
// lines the clerk sees, down to the last one.
TEST(UniformListView, LongListBoxTakesClicksAndKeysOnTheLinesShown) {
  Form form("Frm_Essai", 4000, 3000);
  Control& list = form.Add(Kind::ListBox, "Lst_Date", {200, 200, 1500, 1000});
  list.TabIndex = 0;
  std::vector<std::string> lines;
  for (int i = 0; i < 32767; ++i) lines.push_back("L" + std::to_string(i));
  list.AddItems(std::move(lines));
  Screen screen(form);
  auto* view = qobject_cast<QListView*>(screen.view->WidgetOf(list));
  ASSERT_NE(view, nullptr);
  const int rowHeight = view->sizeHintForRow(0);

  for (int notch = 0; notch < 7; ++notch) Wheel(*view, 1);
  Settle();
  const int top = view->indexAt(QPoint(2, 2)).row();
  EXPECT_EQ(top, 7 * QApplication::wheelScrollLines());
  ClickAt(view->viewport(), QPoint(5, 2 * rowHeight + rowHeight / 2));
  EXPECT_EQ(list.ListIndex(), top + 2);
  EXPECT_EQ(view->currentIndex().row(), top + 2);

  PressKey(screen.view.get(), Qt::Key_End);
  EXPECT_EQ(list.ListIndex(), 32766);
  const QRect last = view->visualRect(view->model()->index(32766, 0));
  EXPECT_TRUE(view->viewport()->rect().contains(last));
  EXPECT_EQ(view->indexAt(last.center()).row(), 32766);
  PressKey(screen.view.get(), Qt::Key_Up);
  ClickAt(view->viewport(), last.center());
  EXPECT_EQ(list.ListIndex(), 32766);
}

}  // namespace
}  // namespace forms::qt
