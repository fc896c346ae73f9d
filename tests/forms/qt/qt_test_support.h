// Test support for the Qt binding: the application object, real key and
// mouse events sent the way a user's reach the widgets, and a finder for
// the modal windows a test must answer.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include <QPoint>
#include <QString>
#include <QWidget>

#include "forms/form.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_services.h"

class QMessageBox;

namespace forms::qt::testing {

// A form shown in an active window, with Qt services: what a user sees.
struct Screen {
  explicit Screen(Form& form);
  ~Screen();
  QtServices services;
  std::unique_ptr<QtFormView> view;
};

// Lets the events queued so far run.
void Settle();

// One key press and release on the widget that has the Qt focus in `window`
// (where the keyboard goes). `text` is what the key types, if anything.
void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = {});
// Types one character (any code point) on the focused widget of `window`.
void TypeChar(QWidget* window, char32_t character);

// A mouse click as a user makes it: press, release.
void ClickAt(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// A point of `widget` that none of its children covers.
[[nodiscard]] QPoint FreePoint(QWidget* widget);

// Runs `answer` on the next modal window (message box, dialog, pop-up menu)
// once it is shown, from inside its event loop. Stops looking after a while.
void WhenModalShown(std::function<void(QWidget* modal)> answer);
// Clicks the button of `box` whose text is `text`.
void ClickButton(QMessageBox* box, const QString& text);

}  // namespace forms::qt::testing
