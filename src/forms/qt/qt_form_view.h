// QtFormView: draws a Form of named controls with Qt widgets and turns what
// the user does on them into UserInput calls. The form stays the one source
// of truth: widgets are written from it (observers) and never edited behind
// its back.
// Qt binding of the named-controls layer (src/forms/qt).
//
//   forms::Form& form = ...;             // built by the shell
//   QtServices services;                // or any forms::Services
//   QtFormView view(form, services);    // a QWidget sized from the form
//   services.SetControlView(&view);     // the window "Sortir" closes
//   view.show();
#pragma once

#include <memory>
#include <unordered_map>

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QWidget>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/qt/widget_factory.h"
#include "forms/user_input.h"

namespace forms::qt {

class InputRouter;

class QtFormView : public QWidget, private FormObserver, private ControlObserver {
  Q_OBJECT

 public:
  // Does not take ownership of `form` or `services`: both must outlive the
  // view. Controls added to the form later get their widgets too.
  QtFormView(Form& form, Services& services, QWidget* parent = nullptr);
  ~QtFormView() override;
  QtFormView(const QtFormView&) = delete;
  QtFormView& operator=(const QtFormView&) = delete;

  [[nodiscard]] Form& form() const { return form_; }
  [[nodiscard]] Services& services() const { return services_; }
  // What the widgets' input is turned into.
  [[nodiscard]] UserInput& input() { return input_; }

  // The widgets drawing `control` (empty for menus and unknown controls).
  [[nodiscard]] ControlWidgets WidgetsOf(const Control& control) const;
  [[nodiscard]] QWidget* WidgetOf(const Control& control) const {
    return WidgetsOf(control).widget;
  }
  // The control a widget (or the text part of a combo) draws; nullptr else.
  [[nodiscard]] Control* ControlOf(const QObject* object) const;

  // Twips on the surface (or inside `container`) to pixels of this view.
  [[nodiscard]] QPoint TwipsToPoint(float x, float y, const Control* container = nullptr) const;
  [[nodiscard]] QPointF PointToTwips(QPointF pixels) const;
  [[nodiscard]] double dpi() const { return dpi_; }

  // The surface as it is drawn now (works without a display).
  [[nodiscard]] QImage Grab() { return grab().toImage(); }
  [[nodiscard]] QSize sizeHint() const override;

  // Gives the Qt focus to the model's focused control.
  void SyncFocus();
  // Writes the state a user action may have changed back onto the widgets of
  // `control`: text, selection, list index, value; then the focus.
  void Resync(const Control& control);
  // True while the view itself is writing to its widgets: what they report
  // then is not the user's doing.
  [[nodiscard]] bool IsBinding() const { return binding_ > 0; }

  // Marks the handling of a key: a focus the model moves meanwhile is shown
  // as a keyboard move, so the style draws the focus frame (a clerk who
  // tabbed onto "Supprimer" sees it before pressing Space).
  class KeyboardScope {
   public:
    explicit KeyboardScope(const QtFormView& view) : view_(view) { ++view_.keyboard_; }
    ~KeyboardScope() { --view_.keyboard_; }
    KeyboardScope(const KeyboardScope&) = delete;
    KeyboardScope& operator=(const KeyboardScope&) = delete;

   private:
    const QtFormView& view_;
  };

  // The view showing `form`, if any.
  [[nodiscard]] static QtFormView* ViewOf(const Form& form);

  // Marks the view writing to its widgets (see IsBinding).
  class BindingScope {
   public:
    explicit BindingScope(const QtFormView& view) : view_(view) { ++view_.binding_; }
    ~BindingScope() { --view_.binding_; }
    BindingScope(const BindingScope&) = delete;
    BindingScope& operator=(const BindingScope&) = delete;

   private:
    const QtFormView& view_;
  };

 signals:
  // Caption, enabled state or size of the form changed.
  void formPropertiesChanged();
  // The form was unloaded (a modal window closes on it).
  void formClosed();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // FormObserver
  void controlAdded(Control& control) override;
  void formChanged() override;
  void focusChanged(Control* focused) override;
  void unloaded() override;
  // ControlObserver
  void controlChanged(Control& control, Property property) override;

  void build(Control& control);
  void updateTabOrder();
  void lineUpLabels();
  void pairList(const Control& control, QWidget* widget);

  Form& form_;
  Services& services_;
  UserInput input_;
  double dpi_;
  InputRouter* router_;  // child QObject: gone with the view
  std::unordered_map<const Control*, ControlWidgets> widgets_;
  std::unordered_map<const QObject*, Control*> controls_;
  mutable int binding_ = 0;
  mutable int keyboard_ = 0;
};

}  // namespace forms::qt
