#include "config/LocaleNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace kvelt {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// Moves the leading digits of `text` into `out`; returns how many there were.
std::size_t TakeDigits(std::string_view& text, std::string& out) {
  std::size_t count = 0;
  while (count < text.size() && IsDigit(text[count])) {
    ++count;
  }
  out.append(text.substr(0, count));
  text.remove_prefix(count);
  return count;
}

// Moves an optional sign into `out` ('+' is implied and dropped, since from_chars refuses it).
void TakeSign(std::string_view& text, std::string& out) {
  if (text.empty()) {
    return;
  }
  if (text.front() == '-') {
    out.push_back('-');
    text.remove_prefix(1);
  } else if (text.front() == '+') {
    text.remove_prefix(1);
  }
}

}  // namespace

std::optional<double> ParseLocaleReal(std::string_view text, std::string_view decimalSeparator) {
  std::string_view rest = TrimBlanks(text);
  // Rebuilt in the notation from_chars reads: the locale's separator becomes '.'.
  std::string normalised;
  normalised.reserve(rest.size() + 1);
  TakeSign(rest, normalised);
  std::size_t mantissaDigits = TakeDigits(rest, normalised);
  if (!decimalSeparator.empty() && rest.substr(0, decimalSeparator.size()) == decimalSeparator) {
    rest.remove_prefix(decimalSeparator.size());
    normalised.push_back('.');
    mantissaDigits += TakeDigits(rest, normalised);
  }
  if (mantissaDigits == 0) {
    return std::nullopt;
  }
  if (!rest.empty() && (rest.front() == 'E' || rest.front() == 'e')) {
    rest.remove_prefix(1);
    normalised.push_back('e');
    TakeSign(rest, normalised);
    if (TakeDigits(rest, normalised) == 0) {
      return std::nullopt;
    }
  }
  if (!rest.empty()) {
    return std::nullopt;
  }
  double value = 0.0;
  const char* first = normalised.data();
  const char* last = first + normalised.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error != std::errc{} || end != last || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<long long> ParseDecimalInteger(std::string_view text) {
  std::string_view rest = TrimBlanks(text);
  std::string normalised;
  normalised.reserve(rest.size());
  TakeSign(rest, normalised);
  if (TakeDigits(rest, normalised) == 0 || !rest.empty()) {
    return std::nullopt;
  }
  long long value = 0;
  const char* first = normalised.data();
  const char* last = first + normalised.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc{} || end != last) {
    return std::nullopt;
  }
  return value;
}

std::optional<float> ToSingle(double value) {
  if (std::isnan(value)) {
    return std::numeric_limits<float>::quiet_NaN();
  }
  constexpr double kLargest = std::numeric_limits<float>::max();
  // Half a unit in the last place above the largest single: from here on, rounding gives infinity.
  const double overflowEdge = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
  if (std::fabs(value) >= overflowEdge) {
    return std::nullopt;
  }
  if (std::fabs(value) > kLargest) {
    return static_cast<float>(std::copysign(kLargest, value));
  }
  return static_cast<float>(value);
}

}  // namespace kvelt
