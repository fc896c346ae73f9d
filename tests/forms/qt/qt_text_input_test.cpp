// Text boxes on Qt: every way text can reach a box (keys, paste by keyboard
// or menu, drops, input methods) goes through the model's key rule; cuts and
// deletions raise Change; edits Qt would make on its own are undone.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include "forms/qt/input_router.h"
#include "qt_test_support.h"

namespace forms::qt {
namespace {

using testing::PressKey;
using testing::Screen;

class QtTextInput : public ::testing::Test {
 public:
  QtTextInput() {
    nom = &form.Add(Kind::TextBox, "Txt_Nom", {120, 120, 3000, 285});
    nom->TabIndex = 0;
    code = &form.Add(Kind::TextBox, "Txt_Code", {120, 600, 600, 285});
    code->TabIndex = 1;
    code->MaxLength = 3;
    // The code box takes digits only, as the control's key filters do.
    code->KeyPress = [this](int& k) {
      ++keyPresses;
      if (k != kKeyBackspace && (k < '0' || k > '9')) k = 0;
    };
    code->Change = [this] { ++changes; };
    screen = std::make_unique<Screen>(form);
    edit = screen->view->WidgetsOf(*code).edit;
    code->SetFocus();
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    PressKey(screen->view.get(), key, mods, text);
  }

  Form form{"Frm_Essai", 6000, 2000};
  Control *nom, *code;
  int keyPresses = 0, changes = 0;
  std::unique_ptr<Screen> screen;
  QLineEdit* edit = nullptr;
};

// Each way of pasting "1a2b" into the code box.
struct PastePath {
  const char* name;
  std::function<void(QtTextInput&)> paste;
};

class QtPastePaths : public QtTextInput, public ::testing::WithParamInterface<PastePath> {};

TEST_P(QtPastePaths, PastedTextGoesThroughTheKeyFilter) {
  QGuiApplication::clipboard()->setText(QStringLiteral("1a2b"));
  GetParam().paste(*this);
  EXPECT_EQ(code->Text(), "12");
  EXPECT_EQ(edit->text(), QStringLiteral("12"));
  EXPECT_EQ(keyPresses, 4);  // every character was put to the filter
  EXPECT_EQ(changes, 2);     // and only the accepted ones changed the box
}

INSTANTIATE_TEST_SUITE_P(
    Qt, QtPastePaths,
    ::testing::Values(PastePath{"ShiftInsert",
                                [](QtTextInput& saisie) {
                                  saisie.Press(Qt::Key_Insert, Qt::ShiftModifier);
                                }},
                      PastePath{"ContextMenu",
                                [](QtTextInput& saisie) {
                                  testing::WhenModalShown([](QWidget* modal) {
                                    auto* menu = qobject_cast<QMenu*>(modal);
                                    ASSERT_NE(menu, nullptr);
                                    for (QAction* action : menu->actions()) {
                                      if (action->text() == QStringLiteral("Coller")) {
                                        testing::ClickAt(menu,
                                                         menu->actionGeometry(action).center());
                                        return;
                                      }
                                    }
                                    ADD_FAILURE() << "no Coller in the menu";
                                    menu->close();
                                  });
                                  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                                          saisie.edit->mapToGlobal(QPoint(2, 2)));
                                  QCoreApplication::sendEvent(saisie.edit, &event);
                                }},
                      PastePath{"Drop",
                                [](QtTextInput& saisie) {
                                  QMimeData data;
                                  data.setText(QStringLiteral("1a2b"));
                                  // As a drag ends over the box: it enters, moves, drops.
                                  QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data,
                                                        Qt::LeftButton, Qt::NoModifier);
                                  QCoreApplication::sendEvent(saisie.edit, &enter);
                                  QDragMoveEvent move(QPoint(3, 3), Qt::CopyAction, &data,
                                                      Qt::LeftButton, Qt::NoModifier);
                                  QCoreApplication::sendEvent(saisie.edit, &move);
                                  QDropEvent drop(QPointF(3, 3), Qt::CopyAction, &data,
                                                  Qt::LeftButton, Qt::NoModifier);
                                  QCoreApplication::sendEvent(saisie.edit, &drop);
                                }},
                      PastePath{"InputMethod",
                                [](QtTextInput& saisie) {
                                  QInputMethodEvent commit;
                                  commit.setCommitString(QStringLiteral("1a2b"));
                                  QCoreApplication::sendEvent(saisie.edit, &commit);
                                }}),
    [](const ::testing::TestParamInfo<PastePath>& cas) { return std::string(cas.param.name); });

TEST_F(QtTextInput, KeysEditAtTheCursorTheUserPlaced) {
  // GIVEN "13" typed, and the cursor moved back one place with the arrow key
  Press(Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
  Press(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
  Press(Qt::Key_Left);
  EXPECT_EQ(code->SelStart(), 1);
  // WHEN a digit is typed THEN it lands at the cursor
  Press(Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
  EXPECT_EQ(code->Text(), "123");
  // AND a selection made with Shift+Home is replaced by Backspace
  Press(Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(code->SelLength(), 2);
  Press(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
  EXPECT_EQ(code->Text(), "3");
  EXPECT_EQ(edit->text(), QStringLiteral("3"));
}

// Delete and cut raise Change without KeyPress; the edits Qt would make on
// its own (word deletion, undo, kill to the end) are undone.
TEST_F(QtTextInput, DeleteAndCutRaiseChangeAndQtsOwnEditsAreUndone) {
  code->SetText("123");
  changes = 0;
  Press(Qt::Key_Backspace, Qt::ControlModifier);
  Press(Qt::Key_Z, Qt::ControlModifier);
  Press(Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(code->Text(), "123");
  EXPECT_EQ(edit->text(), QStringLiteral("123"));
  EXPECT_EQ(changes, 0);
  edit->setCursorPosition(0);
  Press(Qt::Key_Delete);
  EXPECT_EQ(code->Text(), "23");
  EXPECT_EQ(changes, 1);
  edit->setSelection(0, 1);
  Press(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(code->Text(), "3");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2"));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(keyPresses, 0);
}

// An IBAN shown to a user who may not change it: the keys of a clerk do
// nothing to it, yet it can be selected and copied into a letter.
TEST_F(QtTextInput, AReadOnlyBoxTakesNoEditButCopies) {
  code->SetText("FR76");
  code->SetReadOnly(true);
  changes = keyPresses = 0;
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_TRUE(edit->isEnabled()) << "drawn as usual, not greyed";
  QGuiApplication::clipboard()->setText(QStringLiteral("99"));
  Press(Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
  Press(Qt::Key_Backspace);
  Press(Qt::Key_Delete);
  Press(Qt::Key_V, Qt::ControlModifier);
  Press(Qt::Key_A, Qt::ControlModifier);
  Press(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(code->Text(), "FR76");
  EXPECT_EQ(edit->text(), QStringLiteral("FR76"));
  EXPECT_EQ(changes + keyPresses, 0);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("99")) << "no cut";
  Press(Qt::Key_A, Qt::ControlModifier);
  Press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("FR76"));
  EXPECT_EQ(code->SelLength(), 4) << "the selection reaches the model";
}

TEST_F(QtTextInput, APastedLineLosesItsLineBreaks) {
  EXPECT_EQ(OneLine(QStringLiteral("07\n")), QStringLiteral("07"));
  EXPECT_EQ(OneLine(QStringLiteral("Rue\r\ndu Port\tBis\r\n\r\n")),
            QStringLiteral("Rue du Port Bis"));
  QGuiApplication::clipboard()->setText(QStringLiteral("Dupont\n"));
  nom->SetFocus();
  Press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(nom->Text(), "Dupont");
}

TEST_F(QtTextInput, ABoxWithoutTheFocusShowsTheStartOfItsText) {
  const std::string longText = "cotisations@idf.urssaf.example, service des cotisations";
  const int end = static_cast<int>(longText.size());
  QLineEdit* nomEdit = screen->view->WidgetsOf(*nom).edit;
  // GIVEN a long text set from code in the name box while the code box has the focus
  nom->SetText(longText);
  // THEN the box shows its start, and the model keeps its cursor at the end
  EXPECT_EQ(nomEdit->cursorPosition(), 0);
  EXPECT_EQ(nom->SelStart(), end);
  // WHEN Shift+Tab brings the focus in, through the model, THEN its cursor is shown
  int nomGot = 0;
  nom->GotFocus = [&] { ++nomGot; };
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_TRUE(nom->Focused());
  EXPECT_EQ(nomGot, 1);
  EXPECT_EQ(screen->view->window()->focusWidget(), screen->view->WidgetOf(*nom));
  EXPECT_EQ(nomEdit->cursorPosition(), end);
  // WHEN the focus leaves again THEN the start shows and the model is untouched
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_TRUE(code->Focused());
  EXPECT_EQ(nomEdit->cursorPosition(), 0);
  EXPECT_EQ(nom->SelStart(), end);
  // WHEN the user clicks into the box THEN the click places the cursor
  const QPoint at(60, nomEdit->height() / 2);
  const int clicked = nomEdit->cursorPositionAt(at);
  ASSERT_GT(clicked, 0);
  testing::ClickAt(nomEdit, at);
  ASSERT_TRUE(nom->Focused());
  EXPECT_EQ(nom->SelStart(), clicked);
  EXPECT_EQ(nomEdit->cursorPosition(), clicked);
}

}  // namespace
}  // namespace forms::qt
