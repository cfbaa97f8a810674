#pragma once

#include <QColor>

namespace kvelt::app {

// Text colours that stay readable on whatever background the palette gives (light or dark): the
// contrast ratio as the accessibility guidelines define it, and the colour of the wanted hue
// nearest to the wanted one that reaches a minimum ratio on a background.
class ReadableColour {
 public:
  static constexpr double kMinimumContrast = 4.5;

  // (L1 + 0.05) / (L2 + 0.05) of the relative luminances, the lighter one on top: 1 to 21.
  static double Contrast(const QColor& a, const QColor& b);

  // `wanted` when it already reaches `minimum` on `background`; otherwise the same hue made
  // darker (on a light background) or lighter (on a dark one) just enough.
  static QColor On(const QColor& wanted, const QColor& background, double minimum = kMinimumContrast);
};

}  // namespace kvelt::app
