#include "config/ValueRefusal.h"

#include <optional>
#include <string>

#include "config/LocaleNumber.h"

namespace kvelt {

ValueRefusal RealRefusal(std::string_view text, std::string_view decimalSeparator) {
  if (const std::optional<double> value = ParseLocaleReal(text, decimalSeparator)) {
    return ToSingle(*value) ? ValueRefusal::NotANumber : ValueRefusal::OutOfRange;
  }
  const std::string_view other = decimalSeparator == "." ? "," : ".";
  if (text.find(other) != std::string_view::npos && ParseLocaleReal(text, other)) {
    return ValueRefusal::SeparatorExpected;
  }
  return ValueRefusal::NotANumber;
}

}  // namespace kvelt
