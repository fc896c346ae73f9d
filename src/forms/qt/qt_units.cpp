// Twips/pixels and string conversions for the Qt binding.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/qt_units.h"

#include <cmath>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace forms::qt {

double LogicalDpi(const QWidget* widget) {
  const QScreen* screen = widget != nullptr ? widget->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 96.0;  // no display at all: the usual default
  const double dpi = screen->logicalDotsPerInch();
  return dpi > 0 ? dpi : 96.0;
}

int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double PixelsToTwips(double pixels, double dpi) { return pixels * kTwipsPerInch / dpi; }

QRect TwipsToPixels(const Rect& rect, double dpi) {
  // Edges are rounded, not sizes, so that controls laid side by side in
  // twips stay side by side in pixels.
  const int left = TwipsToPixels(rect.left, dpi);
  const int top = TwipsToPixels(rect.top, dpi);
  const int right = TwipsToPixels(rect.left + rect.width, dpi);
  const int bottom = TwipsToPixels(rect.top + rect.height, dpi);
  return {left, top, right - left, bottom - top};
}

int CharsToUtf16(const QString& text, int chars) {
  int units = 0;
  for (int seen = 0; seen < chars && units < text.size(); ++seen) {
    units += (text.at(units).isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
  }
  return units;
}

int Utf16ToChars(const QString& text, int units) {
  int chars = 0;
  for (int i = 0; i < units && i < text.size(); ++chars) {
    i += (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
  }
  return chars;
}

}  // namespace forms::qt
