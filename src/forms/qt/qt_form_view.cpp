// QtFormView: widgets for the controls of a form, kept in step with the
// model through its observers. Input routing lives in InputRouter.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/qt_form_view.h"

#include <algorithm>
#include <vector>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>

#include "forms/qt/input_router.h"
#include "forms/qt/label_alignment.h"
#include "forms/qt/qt_units.h"
#include "forms/qt/widget_mirror.h"

namespace forms::qt {
namespace {

// Every live view by its form: services find the view of a form that asks
// for a pop-up menu. One user-interface thread, so no lock.
std::unordered_map<const Form*, QtFormView*>& Registry() {
  static std::unordered_map<const Form*, QtFormView*> views;
  return views;
}

}  // namespace

QtFormView::QtFormView(Form& form, Services& services, QWidget* parent)
    : QWidget(parent),
      form_(form),
      services_(services),
      input_(form, services),
      dpi_(LogicalDpi(this)),
      router_(new InputRouter(*this)) {
  setObjectName(ToQString(form.Name()));
  setFocusPolicy(Qt::NoFocus);
  resize(sizeHint());
  installEventFilter(router_);  // mouse buttons on the surface
  for (const auto& control : form_.AllControls()) build(*control);
  updateTabOrder();
  lineUpLabels();
  setEnabled(form_.Enabled());
  form_.AddObserver(this);
  Registry()[&form_] = this;
}

QtFormView::~QtFormView() {
  // Stop listening first: the widgets' destruction must not reach the model.
  delete router_;
  router_ = nullptr;
  form_.RemoveObserver(this);
  for (const auto& [control, widgets] : widgets_)
    const_cast<Control*>(control)->RemoveObserver(this);
  auto& registry = Registry();
  if (auto it = registry.find(&form_); it != registry.end() && it->second == this)
    registry.erase(it);
}

QtFormView* QtFormView::ViewOf(const Form& form) {
  auto& registry = Registry();
  const auto it = registry.find(&form);
  return it == registry.end() ? nullptr : it->second;
}

ControlWidgets QtFormView::WidgetsOf(const Control& control) const {
  const auto it = widgets_.find(&control);
  return it == widgets_.end() ? ControlWidgets{} : it->second;
}

Control* QtFormView::ControlOf(const QObject* object) const {
  const auto it = controls_.find(object);
  return it == controls_.end() ? nullptr : it->second;
}

QSize QtFormView::sizeHint() const {
  return {qt::TwipsToPixels(form_.Width(), dpi_), qt::TwipsToPixels(form_.Height(), dpi_)};
}

QPoint QtFormView::TwipsToPoint(float x, float y, const Control* container) const {
  QPoint point(qt::TwipsToPixels(static_cast<int>(x), dpi_),
               qt::TwipsToPixels(static_cast<int>(y), dpi_));
  QWidget* origin = container != nullptr ? WidgetOf(*container) : nullptr;
  return origin != nullptr ? origin->mapTo(const_cast<QtFormView*>(this), point) : point;
}

QPointF QtFormView::PointToTwips(QPointF pixels) const {
  return {PixelsToTwips(pixels.x(), dpi_), PixelsToTwips(pixels.y(), dpi_)};
}

void QtFormView::build(Control& control) {
  if (widgets_.count(&control) != 0) return;
  QWidget* parent = this;
  if (control.Container() != nullptr) {
    if (QWidget* container = WidgetOf(*control.Container())) parent = container;
  }
  const ControlWidgets widgets = CreateWidget(control, parent, dpi_);
  widgets_[&control] = widgets;
  control.AddObserver(this);
  if (widgets.widget == nullptr) return;  // menus
  controls_[widgets.widget] = &control;
  if (widgets.edit != nullptr) controls_[widgets.edit] = &control;
  {
    const BindingScope scope(*this);
    MirrorAll(control, widgets);
  }
  router_->Attach(control, widgets);
  if (control.kind() == Kind::ListBox) pairList(control, widgets.widget);
}

// Lists standing side by side (one container, one top, one height) are the
// columns of one table: a date beside its rate. However one of them moves
// (wheel, keys, a click, its bar, a drag) the other shows the same lines.
void QtFormView::pairList(const Control& control, QWidget* widget) {
  auto* list = qobject_cast<QAbstractItemView*>(widget);
  if (list == nullptr) return;
  for (const auto& [other, otherWidgets] : widgets_) {
    if (other == &control || other->kind() != Kind::ListBox ||
        other->Container() != control.Container() || other->geometry.top != control.geometry.top ||
        other->geometry.height != control.geometry.height) {
      continue;
    }
    auto* partner = qobject_cast<QAbstractItemView*>(otherWidgets.widget);
    if (partner == nullptr) continue;
    QScrollBar* a = list->verticalScrollBar();
    QScrollBar* b = partner->verticalScrollBar();
    connect(a, &QScrollBar::valueChanged, b, [b](int value) {
      if (b->value() != value) b->setValue(value);
    });
    connect(b, &QScrollBar::valueChanged, a, [a](int value) {
      if (a->value() != value) a->setValue(value);
    });
  }
}

void QtFormView::updateTabOrder() {
  // Tab itself goes through the model; this order serves Qt's own focus
  // chain (accessibility tools walk it).
  std::vector<std::pair<std::vector<int>, QWidget*>> order;
  for (const auto& control : form_.AllControls()) {
    QWidget* widget = WidgetOf(*control);
    if (widget == nullptr || control->TabIndex < 0 || !(widget->focusPolicy() & Qt::TabFocus))
      continue;
    std::vector<int> key;
    for (const Control* c = control.get(); c != nullptr; c = c->Owner())
      key.insert(key.begin(), c->TabIndex);
    order.emplace_back(std::move(key), widget);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void QtFormView::SyncFocus() {
  Control* focused = form_.ActiveControl();
  QWidget* target = focused != nullptr ? WidgetOf(*focused) : nullptr;
  if (target == nullptr || !target->isVisibleTo(window()) || !target->isEnabled()) return;
  QWidget* proxy = target->focusProxy() != nullptr ? target->focusProxy() : target;
  if (proxy->hasFocus() || window()->focusWidget() == proxy) return;
  const BindingScope scope(*this);
  if (keyboard_ > 0) {
    // Qt marks a keyboard move only inside its own Tab handling; this move
    // answers a key all the same, so the style must draw the focus.
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    target->setFocus(Qt::TabFocusReason);
  } else {
    target->setFocus(Qt::OtherFocusReason);
  }
  if (ControlWidgets widgets = WidgetsOf(*focused); widgets.edit != nullptr) {
    MirrorProperty(*focused, widgets, Property::Selection);
  }
}

void QtFormView::Resync(const Control& control) {
  const ControlWidgets widgets = WidgetsOf(control);
  {
    const BindingScope scope(*this);
    for (Property property : {Property::ListIndex, Property::Value, Property::Text}) {
      MirrorProperty(control, widgets, property);
    }
  }
  SyncFocus();
}

void QtFormView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A combo places its text part only once shown: texts set before are
  // fitted again to the room they really have.
  for (const auto& [control, widgets] : widgets_) {
    if (widgets.edit != nullptr) FitBoxText(*widgets.edit);
  }
  if (form_.ActiveControl() != nullptr) {
    SyncFocus();
  } else if (window()->focusWidget() == nullptr) {
    // Otherwise Qt would hand the focus to the first child when the window
    // is activated, and the model would see a focus move nobody made.
    const BindingScope scope(*this);
    setFocus(Qt::OtherFocusReason);
  }
}

void QtFormView::controlAdded(Control& control) {
  build(control);
  updateTabOrder();
  lineUpLabels();
}

void QtFormView::lineUpLabels() {
  LineUpLabels(
      form_, [this](const Control& c) { return WidgetsOf(c); }, dpi_);
}

void QtFormView::formChanged() {
  {
    const BindingScope scope(*this);
    setEnabled(form_.Enabled());
    resize(sizeHint());
  }
  if (form_.Enabled()) SyncFocus();
  emit formPropertiesChanged();
}

void QtFormView::focusChanged(Control* /*focused*/) { SyncFocus(); }

void QtFormView::unloaded() { emit formClosed(); }

void QtFormView::controlChanged(Control& control, Property property) {
  if (property == Property::Focus) return;  // focusChanged does it
  const ControlWidgets widgets = WidgetsOf(control);
  {
    const BindingScope scope(*this);
    MirrorProperty(control, widgets, property);
  }
  // Showing or enabling the model's focused control lets Qt focus it now.
  if (property == Property::Enabled || property == Property::Visible) SyncFocus();
}

}  // namespace forms::qt
