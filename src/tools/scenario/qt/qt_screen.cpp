// The real window of a --qt scenario run.
#include "qt_screen.h"

#include <cstdlib>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QKeyEvent>
#include <QWheelEvent>

#include "forms/qt/message_box.h"
#include "forms/qt/modal_dialog.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_units.h"
#include "host_window.h"
#include "morvanel/hosting/close_query.h"
#include "morvanel/shell/ctr_urssaf.h"

namespace scenario {
namespace {

using forms::qt::QtFormView;

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// Characters as a keyboard sends them: QTest only knows ASCII, a clerk
// types accents. Qt's key codes for Latin-1 letters are their capitals.
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    const int key = ch.toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(widget, &release);
  }
}

Qt::Key QtKey(int code) {
  switch (code) {
    case forms::kKeyEnter: return Qt::Key_Return;
    case forms::kKeyBackspace: return Qt::Key_Backspace;
    case forms::kKeyTab: return Qt::Key_Tab;
    case forms::kKeyEscape: return Qt::Key_Escape;
    case kKeyDelete: return Qt::Key_Delete;
    case kKeyHelp: return Qt::Key_F1;
    case kKeyUp: return Qt::Key_Up;
    case kKeyDown: return Qt::Key_Down;
    case kKeyPageUp: return Qt::Key_PageUp;
    case kKeyPageDown: return Qt::Key_PageDown;
    case kKeyHome: return Qt::Key_Home;
    case kKeyEnd: return Qt::Key_End;
    default: return Qt::Key_unknown;
  }
}

// The width a widget's text needs, and the room it has for it.
bool TextFits(const QWidget& w) {
  const QFontMetrics fm = w.fontMetrics();
  if (const auto* edit = qobject_cast<const QLineEdit*>(&w)) {
    // The frame and the inner margins of a line edit take about 4 px a side.
    return fm.horizontalAdvance(edit->text()) <= edit->contentsRect().width() - 6 &&
           fm.height() <= edit->height();
  }
  if (const auto* combo = qobject_cast<const QComboBox*>(&w)) {
    return combo->lineEdit() == nullptr || TextFits(*combo->lineEdit());
  }
  if (const auto* label = qobject_cast<const QLabel*>(&w)) {
    if (label->wordWrap()) return label->heightForWidth(label->width()) <= label->height();
    return fm.horizontalAdvance(label->text()) <= label->contentsRect().width();
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) {
    const int extra = qobject_cast<const QCheckBox*>(&w) != nullptr ? 20 : 6;
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    return fm.horizontalAdvance(text) + extra <= button->width();
  }
  if (const auto* list = qobject_cast<const QListView*>(&w)) {
    const QAbstractItemModel* model = list->model();
    for (int row = 0; model != nullptr && row < model->rowCount(); ++row) {
      const QString text = model->index(row, 0).data().toString();
      if (fm.horizontalAdvance(text) > list->viewport()->width()) return false;
    }
    return true;
  }
  return true;
}

// A window closing hands the activation back to the one under it, as a
// window manager does; the offscreen platform leaves none active, and the
// keyboard would then go nowhere.
class Reactivate {
 public:
  explicit Reactivate(QWidget* window) : window_(window) {}
  ~Reactivate() {
    if (window_ == nullptr || !window_->isVisible()) return;
    window_->activateWindow();
    Settle();
  }
  Reactivate(const Reactivate&) = delete;
  Reactivate& operator=(const Reactivate&) = delete;

 private:
  QPointer<QWidget> window_;
};

class QtScreen final : public Screen {
 public:
  QtScreen(morvanel::shell::Ctr_Urssaf& control, forms::Services& services)
      : control_(control),
        services_(services),
        window_(control.Controls(), services, QStringLiteral("Client : DEMO — scénario")) {
    window_.SetCloseQuery([this] { return morvanel::hosting::QueryClose(control_, services_); });
    window_.show();
    window_.activateWindow();
    Settle();
  }

  bool Perform(const Command& c, const Target& t) override {
    if (c.verb == Verb::CloseWindow) {
      window_.close();  // a real QCloseEvent, as the close box sends
      Settle();
      return true;
    }
    QtFormView* view = QtFormView::ViewOf(*t.form);
    if (view == nullptr) return false;
    if (t.control == nullptr) return onSurface(c, *view);
    const forms::qt::ControlWidgets widgets = view->WidgetsOf(*t.control);
    QWidget* widget = widgets.widget;
    if (widget == nullptr) return modelOnly(c, *view, *t.control);  // menu items
    if (!widget->isVisibleTo(widget->window()) || !widget->isEnabled()) return false;
    const bool done = deliver(c, *view, *t.control, widgets);
    Settle();
    return done;
  }

  std::optional<Observed> Read(const Target& t, Prop property) override {
    QtFormView* view = QtFormView::ViewOf(*t.form);
    if (view == nullptr || t.control == nullptr) return std::nullopt;
    const forms::qt::ControlWidgets widgets = view->WidgetsOf(*t.control);
    QWidget* w = widgets.widget;
    if (w == nullptr) return std::nullopt;
    switch (property) {
      case Prop::TopIndex: {
        auto* list = qobject_cast<QListView*>(w);
        if (list == nullptr) return std::nullopt;
        const QModelIndex top = list->indexAt(QPoint(2, 2));
        return Observed{ValueKind::Number, std::to_string(top.isValid() ? top.row() : 0)};
      }
      case Prop::Fits: {
        const QRect inForm(w->mapTo(view, QPoint(0, 0)), w->size());
        const bool inside = view->rect().contains(inForm) || !w->isVisibleTo(view);
        return Observed{ValueKind::Boolean, ShowBool(inside && TextFits(*w))};
      }
      case Prop::FocusShown: {
        QWidget* focus = widgets.edit != nullptr ? widgets.edit : w;
        const bool has = focus->hasFocus();
        // Boxes show the focus by their cursor; buttons and check boxes only
        // by the frame the style draws after a keyboard move.
        const bool drawn = widgets.edit != nullptr || qobject_cast<QListView*>(w) != nullptr ||
                           w->window()->testAttribute(Qt::WA_KeyboardFocusChange);
        return Observed{ValueKind::Boolean, ShowBool(has && drawn)};
      }
      default: return std::nullopt;
    }
  }

  void ShowModal(forms::Form& form, const std::function<void()>& drive) override {
    QWidget* parent =
        QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : &window_;
    const Reactivate back(parent);
    forms::qt::ModalDialog dialog(form, services_, parent);
    if (form.IsUnloaded()) return;
    dialog.show();
    dialog.activateWindow();
    dialog.view().SyncFocus();
    Settle();
    drive();
    Settle();
  }

  forms::MsgAnswer Answer(std::string_view text, forms::MsgButtons buttons, forms::MsgIcon icon,
                          std::string_view title, std::optional<forms::MsgAnswer> answer) override {
    QWidget* parent =
        QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : &window_;
    const Reactivate back(parent);
    const std::unique_ptr<QMessageBox> box =
        forms::qt::BuildMessageBox(text, buttons, icon, title, parent);
    box->show();
    box->activateWindow();
    Settle();
    if (!answer) {
      QWidget* to = QApplication::focusWidget() != nullptr &&
                            QApplication::focusWidget()->window() == box.get()
                        ? QApplication::focusWidget()
                        : box.get();
      QTest::keyClick(to, Qt::Key_Return);
    } else {
      const QMessageBox::StandardButton which = *answer == forms::MsgAnswer::Yes  ? QMessageBox::Yes
                                                : *answer == forms::MsgAnswer::No ? QMessageBox::No
                                                : *answer == forms::MsgAnswer::Cancel
                                                    ? QMessageBox::Cancel
                                                    : QMessageBox::Ok;
      if (QAbstractButton* button = box->button(which)) QTest::mouseClick(button, Qt::LeftButton);
    }
    Settle();
    return forms::qt::AnswerOf(*box, buttons);
  }

  void Settle() override { scenario::Settle(); }

  void HostUnloaded() override { QTimer::singleShot(0, &window_, &QWidget::close); }

  std::string TopIndexes(forms::Form& form) override {
    QtFormView* view = QtFormView::ViewOf(form);
    std::string out = "{\"topIndex\": {";
    bool first = true;
    for (const auto& control : form.AllControls()) {
      if (view == nullptr || control->kind() != forms::Kind::ListBox) continue;
      auto* list = qobject_cast<QListView*>(view->WidgetOf(*control));
      if (list == nullptr) continue;
      const QModelIndex top = list->indexAt(QPoint(2, 2));
      out += (first ? "\"" : ", \"") + control->Name() +
             "\": " + std::to_string(top.isValid() ? top.row() : 0);
      first = false;
    }
    return out + "}}";
  }

 private:
  bool deliver(const Command& c, QtFormView& view, forms::Control& control,
               const forms::qt::ControlWidgets& widgets) {
    QWidget* w = widgets.widget;
    switch (c.verb) {
      case Verb::Type:
        focusOn(view, control);
        if (QApplication::focusWidget() == nullptr) return false;
        TypeText(QApplication::focusWidget(), forms::qt::ToQString(c.text));
        return true;
      case Verb::Key: {
        focusOn(view, control);
        QWidget* to = QApplication::focusWidget();
        if (to == nullptr) return false;
        if (c.number > 0 && QtKey(c.number) == Qt::Key_unknown) {
          TypeText(to, QString(QChar(c.number)));
        } else {
          QTest::keyClick(to, QtKey(c.number));
        }
        return true;
      }
      case Verb::Focus: w->setFocus(Qt::MouseFocusReason); return true;
      case Verb::Click:
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
          combo->setFocus(Qt::MouseFocusReason);  // its popup opens on a pick
          return true;
        }
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        return true;
      case Verb::RightClick:
        QTest::mouseClick(w, Qt::RightButton, {}, w->rect().center());
        return true;
      case Verb::DblClick: {
        auto* list = qobject_cast<QListView*>(w);
        if (list == nullptr) return modelOnly(c, view, control);
        const int row = c.number >= 0 ? c.number : control.ListIndex();
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        const QPoint at = list->visualRect(index).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        return true;
      }
      case Verb::Pick: return pick(c, view, control, w);
      case Verb::Scroll:
        if (auto* bar = qobject_cast<QScrollBar*>(w)) {
          bar->setValue(c.number);
          return true;
        }
        return modelOnly(c, view, control);
      case Verb::Wheel: {
        auto* area = qobject_cast<QAbstractScrollArea*>(w);
        QWidget* target = area != nullptr ? area->viewport() : w;
        const QPointF at = QPointF(target->rect().center());
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120 * c.number),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        return true;
      }
      default: return false;
    }
  }

  bool pick(const Command& c, QtFormView& view, forms::Control& control, QWidget* w) {
    if (auto* list = qobject_cast<QListView*>(w)) {
      const QModelIndex index = list->model()->index(c.number, 0);
      list->scrollTo(index);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
      return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      combo->setFocus(Qt::MouseFocusReason);
      combo->showPopup();
      Settle();
      QAbstractItemView* popup = combo->view();
      const QModelIndex index = combo->model()->index(c.number, 0);
      popup->scrollTo(index);
      QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualRect(index).center());
      Settle();
      if (combo->view()->isVisible()) combo->hidePopup();
      return true;
    }
    return modelOnly(c, view, control);
  }

  // The keyboard goes where the user put it: a key for another control
  // first moves the focus there, as a click would.
  static void focusOn(QtFormView& view, forms::Control& control) {
    const forms::qt::ControlWidgets widgets = view.WidgetsOf(control);
    QWidget* target = widgets.edit != nullptr ? widgets.edit : widgets.widget;
    if (QApplication::focusWidget() == target) return;
    if (target->focusPolicy() == Qt::NoFocus) return;
    target->setFocus(Qt::MouseFocusReason);
    scenario::Settle();
  }

  // Controls without widgets of their own (menu items) take the model's way.
  bool modelOnly(const Command& c, QtFormView& view, forms::Control& control) {
    forms::UserInput& input = view.input();
    bool done = false;
    switch (c.verb) {
      case Verb::Click: done = input.Click(control); break;
      case Verb::DblClick:
        done = input.DblClick(control, c.number >= 0 ? c.number : control.ListIndex());
        break;
      case Verb::Pick: done = input.Pick(control, c.number); break;
      case Verb::Scroll: done = input.Scroll(control, c.number); break;
      default: break;
    }
    view.Resync(control);
    Settle();
    return done;
  }

  // The surface: a spot no control covers.
  bool onSurface(const Command& c, QtFormView& view) {
    const Qt::MouseButton button = c.verb == Verb::RightClick ? Qt::RightButton : Qt::LeftButton;
    for (int y = view.height() - 3; y > 0; y -= 7) {
      for (int x = 3; x < view.width(); x += 7) {
        if (view.childAt(x, y) != nullptr) continue;
        QTest::mouseClick(&view, button, {}, QPoint(x, y));
        Settle();
        return true;
      }
    }
    return view.input().MouseDown(
        nullptr, c.verb == Verb::RightClick ? forms::kMouseRight : forms::kMouseLeft);
  }

  morvanel::shell::Ctr_Urssaf& control_;
  forms::Services& services_;
  host::HostWindow window_;
};

}  // namespace

std::shared_ptr<void> StartQt(int& argc, char** argv) {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && (x == nullptr || *x == '\0') &&
      (w == nullptr || *w == '\0')) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  return std::make_shared<QApplication>(argc, argv);
}

std::unique_ptr<Screen> MakeQtScreen(morvanel::shell::Ctr_Urssaf& control,
                                     forms::Services& services) {
  return std::make_unique<QtScreen>(control, services);
}

}  // namespace scenario
