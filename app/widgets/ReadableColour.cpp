#include "app/widgets/ReadableColour.h"

#include <algorithm>
#include <cmath>

namespace kvelt::app {
namespace {

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) + 0.0722 * Linear(rgb.blueF());
}

}  // namespace

double ReadableColour::Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableColour::On(const QColor& wanted, const QColor& background, double minimum) {
  if (Contrast(wanted, background) >= minimum) {
    return wanted;
  }
  // Walk the lightness away from the background's in small steps; the first colour that reaches
  // the ratio is the nearest one of this hue and saturation.
  const QColor hsl = wanted.toHsl();
  const bool darken = Luminance(background) > 0.18;
  const float hue = std::max(0.0F, hsl.hslHueF());  // -1 for a grey, whose hue does not matter
  const float saturation = hsl.hslSaturationF();
  constexpr int kSteps = 100;
  for (int step = 1; step <= kSteps; ++step) {
    const float shift = static_cast<float>(step) / kSteps;
    const float lightness =
        darken ? std::max(0.0F, hsl.lightnessF() - shift) : std::min(1.0F, hsl.lightnessF() + shift);
    const QColor candidate = QColor::fromHslF(hue, saturation, lightness);
    if (Contrast(candidate, background) >= minimum) {
      return candidate;
    }
  }
  return darken ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace kvelt::app
