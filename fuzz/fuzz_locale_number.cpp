// Feeds arbitrary text to the conversion of numbers typed by the user, under the decimal
// separators locales use. A refused text gives nothing; an accepted one a finite value; a text
// accepted as an integer is accepted as a real of the same value; surrounding blanks change
// nothing; and the single sent to the counter is finite.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/LocaleNumber.h"

namespace {

constexpr std::array<std::string_view, 3> kSeparators{",", ".", "\xD9\xAB"};  // the last: Arabic

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view separator = kSeparators[data[0] % kSeparators.size()];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const auto real = kvelt::ParseLocaleReal(text, separator);
  if (real) {
    Check(std::isfinite(*real));
    Check(kvelt::ParseLocaleReal(" \t" + std::string(text) + " ", separator) == real);
    if (const auto single = kvelt::ToSingle(*real)) Check(std::isfinite(*single));
  }
  if (const auto integer = kvelt::ParseDecimalInteger(text)) {
    Check(real.has_value() && *real == static_cast<double>(*integer));
    Check(kvelt::ParseDecimalInteger(std::to_string(*integer)) == integer);
  }
  return 0;
}
