#include "cli/ExactNumberText.h"

#include <cmath>
#include <optional>

#include "config/LocaleNumber.h"
#include "measure/FixedPointFormat.h"

namespace kvelt::cli {

std::string ExactNumberText(float value, int minDecimals, std::string_view decimalSeparator) {
  constexpr int kMaxDecimals = 18;
  std::optional<std::string> text;
  for (int decimals = minDecimals; decimals <= kMaxDecimals; ++decimals) {
    text = FormatFixedPoint(value, 15, decimals, decimalSeparator);
    if (!text || !std::isfinite(value)) break;
    const std::optional<double> back = ParseLocaleReal(*text, decimalSeparator);
    const std::optional<float> single = back ? ToSingle(*back) : std::nullopt;
    if (single && *single == value) break;
  }
  return text.value_or("---");
}

}  // namespace kvelt::cli
