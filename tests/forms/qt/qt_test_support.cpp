// Test support for the Qt binding: QApplication for the whole test program,
// real input events, modal window finder.
#include "qt_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace forms::qt::testing {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "forms_qt_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

QWidget* ModalWindow() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return nullptr;
}

}  // namespace

Screen::Screen(Form& form) {
  view = std::make_unique<QtFormView>(form, services);
  services.SetControlView(view.get());
  view->show();
  view->activateWindow();
  if (!QTest::qWaitForWindowActive(view.get()))
    ADD_FAILURE() << "the form's window never became active";
  Settle();
}

Screen::~Screen() {
  view.reset();
  Settle();
}

void Settle() { QCoreApplication::processEvents(); }

void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QWidget* target = window->window()->focusWidget();
  if (target == nullptr) target = window;
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(target, &press);
  // The press may have moved the focus (or closed the window).
  if (QWidget* now = QApplication::focusWidget()) QCoreApplication::sendEvent(now, &release);
  Settle();
}

void TypeChar(QWidget* window, char32_t character) {
  const QString text = QString::fromUcs4(&character, 1);
  const QChar first = text.at(0);
  const int key = first.isLetter() && first.unicode() < 0x80 ? first.toUpper().unicode()
                  : character < 0x100                        ? static_cast<int>(character)
                                                             : Qt::Key_unknown;
  PressKey(window, static_cast<Qt::Key>(key), Qt::NoModifier, text);
}

void ClickAt(QWidget* widget, QPoint at, Qt::MouseButton button) {
  QTest::mouseClick(widget, button, Qt::NoModifier, at);
  Settle();
}

QPoint FreePoint(QWidget* widget) {
  for (int y = widget->height() - 3; y > 0; y -= 3) {
    for (int x = widget->width() - 3; x > 0; x -= 3) {
      if (widget->childAt(x, y) == nullptr) return {x, y};
    }
  }
  return {1, 1};
}

void WhenModalShown(std::function<void(QWidget* modal)> answer) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [answer = std::move(answer), tries, poll] {
    QWidget* modal = ModalWindow();
    if (modal != nullptr && modal->isVisible()) {
      answer(modal);
      *poll = nullptr;  // breaks the cycle
      return;
    }
    if (++*tries > 200) {
      ADD_FAILURE() << "no modal window was shown";
      *poll = nullptr;
      return;
    }
    QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
}

void ClickButton(QMessageBox* box, const QString& text) {
  for (QAbstractButton* button : box->buttons()) {
    if (button->text() == text) {
      button->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << text.toStdString();
  box->reject();
}

}  // namespace forms::qt::testing
