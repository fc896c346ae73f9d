// The modal message box of the Qt binding: French button texts, the
// information or exclamation icon, the caller's title.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <memory>
#include <string_view>

#include "forms/services.h"

class QAbstractButton;
class QMessageBox;
class QWidget;

namespace forms::qt {

// A box ready to exec(); its first button is the default one.
[[nodiscard]] std::unique_ptr<QMessageBox> BuildMessageBox(std::string_view text,
                                                           MsgButtons buttons, MsgIcon icon,
                                                           std::string_view title, QWidget* parent);

// The answer for the button that closed `box`; a box closed otherwise
// (Escape, close box) answers No or Cancel when it has them, else OK.
[[nodiscard]] MsgAnswer AnswerOf(const QMessageBox& box, MsgButtons buttons);

}  // namespace forms::qt
