// Runs the shared behaviour cases on the Qt binding: every user action is a
// real key or mouse event on the real widgets, so the routing from Qt into
// the model is what is under test.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "binding_behaviour.h"
#include "forms/qt/qt_units.h"
#include "forms/utf8_text.h"
#include "qt_test_support.h"

namespace forms::suite {
namespace {

using qt::testing::ClickAt;
using qt::testing::PressKey;
using qt::testing::Screen;

class QtDriver : public BindingDriver {
 public:
  explicit QtDriver(Form& form) : form_(form), screen_(form) {}

  void Focus(Control& c) override {
    QWidget* widget = widgetOf(c);
    if (widget == nullptr || !widget->isEnabled() || !widget->isVisible()) return;  // out of reach
    widget->setFocus(Qt::MouseFocusReason);
    qt::testing::Settle();
  }

  void Type(Control& c, std::string_view text) override {
    if (!reach(c)) return;
    for (char32_t cp : utf8::Decode(text)) {
      if (!keyboardOnOurControl()) return;  // typing into the void
      qt::testing::TypeChar(window(), cp);
    }
  }

  void Key(Control& c, int key) override {
    if (!reach(c) || !keyboardOnOurControl()) return;
    switch (key) {
      case kKeyEnter:
        PressKey(window(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        break;
      case kKeyBackspace:
        PressKey(window(), Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
        break;
      case kKeyTab: PressKey(window(), Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")); break;
      case kKeyEscape:
        PressKey(window(), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        break;
      default: qt::testing::TypeChar(window(), static_cast<char32_t>(key)); break;
    }
  }

  void Paste(Control& c, std::string_view text) override {
    if (!reach(c) || !keyboardOnOurControl()) return;
    QGuiApplication::clipboard()->setText(qt::ToQString(text));
    PressKey(window(), Qt::Key_V, Qt::ControlModifier);
  }

  void Click(Control& c) override {
    QWidget* widget = widgetOf(c);
    if (widget == nullptr) return;
    QPoint at = widget->rect().center();
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
      QStyleOptionButton option;
      option.initFrom(box);
      at = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    }
    ClickAt(widget, at);
  }

  void Pick(Control& c, int index) override {
    QWidget* widget = widgetOf(c);
    if (widget == nullptr || !widget->isEnabled() || !widget->isVisible()) return;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      combo->showPopup();
      qt::testing::Settle();
      QAbstractItemView* list = combo->view();
      const QRect item = list->visualRect(list->model()->index(index, 0));
      ClickAt(list->viewport(), item.center());
    } else if (auto* list = qobject_cast<QListView*>(widget)) {
      const QModelIndex row = list->model()->index(index, 0);
      list->scrollTo(row);
      ClickAt(list->viewport(), list->visualRect(row).center());
    }
  }

  void DblClick(Control& c, int index) override {
    auto* list = qobject_cast<QListView*>(widgetOf(c));
    if (list == nullptr || !list->isEnabled()) return;
    const QModelIndex row = list->model()->index(index, 0);
    list->scrollTo(row);
    // As a screen delivers it: a click, then a press that is a double click.
    QWidget* viewport = list->viewport();
    const QPoint at = list->visualRect(row).center();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(at), QPointF(viewport->mapToGlobal(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &twice);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
    qt::testing::Settle();
  }

  void Scroll(Control& c, int value) override {
    auto* bar = qobject_cast<QScrollBar*>(widgetOf(c));
    if (bar == nullptr || !bar->isEnabled() || !bar->isVisible()) return;
    bar->setSliderPosition(value);  // what dragging the thumb does
    qt::testing::Settle();
  }

  void MouseDown(Control* c, int button) override {
    QWidget* widget = c != nullptr ? widgetOf(*c) : screen_.view.get();
    if (widget == nullptr) return;
    const Qt::MouseButton qtButton = button == kMouseRight    ? Qt::RightButton
                                     : button == kMouseMiddle ? Qt::MiddleButton
                                                              : Qt::LeftButton;
    ClickAt(widget, qt::testing::FreePoint(widget), qtButton);
  }

  std::optional<std::string> ShownText(Control& c) override {
    const qt::ControlWidgets widgets = screen_.view->WidgetsOf(c);
    if (widgets.edit != nullptr) return qt::ToUtf8(widgets.edit->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widgets.widget))
      return qt::ToUtf8(button->text());
    return std::nullopt;
  }

  std::optional<bool> ShownEnabled(Control& c) override {
    QWidget* widget = widgetOf(c);
    if (widget == nullptr) return std::nullopt;
    return widget->isEnabled();
  }

 private:
  QWidget* widgetOf(Control& c) const { return screen_.view->WidgetOf(c); }
  QWidget* window() const { return screen_.view->window(); }

  // Brings the keyboard to `c` as a user would: a click into it when the
  // model's focus is elsewhere. False when it cannot take it.
  bool reach(Control& c) {
    if (form_.ActiveControl() != &c) Focus(c);
    return form_.ActiveControl() != nullptr;
  }

  // The keyboard reaches a control only when the Qt focus is on one.
  bool keyboardOnOurControl() const {
    QWidget* focused = window()->focusWidget();
    return focused != nullptr && screen_.view->ControlOf(focused) != nullptr;
  }

  Form& form_;
  Screen screen_;
};

INSTANTIATE_TEST_SUITE_P(Qt, BindingBehaviour,
                         ::testing::Values(DriverParam{
                             "Qt",
                             [](Form& f) -> std::unique_ptr<BindingDriver> {
                               return std::make_unique<QtDriver>(f);
                             }}),
                         DriverParamName);

}  // namespace
}  // namespace forms::suite
