// Conversions between the named-controls layer and Qt: twips and pixels,
// UTF-8 strings and QString, character counts and UTF-16 positions.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <string>
#include <string_view>

#include <QPoint>
#include <QRect>
#include <QString>

#include "forms/control.h"

class QWidget;

namespace forms::qt {

inline constexpr double kTwipsPerInch = 1440.0;

// Logical dots per inch of the screen `widget` is on (the primary screen
// when it has none yet); 96 when there is no screen at all.
[[nodiscard]] double LogicalDpi(const QWidget* widget);

[[nodiscard]] int TwipsToPixels(int twips, double dpi);
[[nodiscard]] double PixelsToTwips(double pixels, double dpi);
[[nodiscard]] QRect TwipsToPixels(const Rect& rect, double dpi);

[[nodiscard]] inline QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
[[nodiscard]] inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// The model counts characters (code points); QString positions count UTF-16
// units. They differ only beyond the basic plane, but a surrogate pair must
// never be split.
[[nodiscard]] int CharsToUtf16(const QString& text, int chars);
[[nodiscard]] int Utf16ToChars(const QString& text, int units);

}  // namespace forms::qt
