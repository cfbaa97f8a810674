#include "measure/FixedPointFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace kvelt {
namespace {

constexpr int kExpansionDigits = 18;
constexpr int kMaxDecimals = 18;
constexpr int kMaxPrecision = 18;

// The first 18 significant digits of a finite magnitude and the decimal place of the first one:
// magnitude ~= 0.d1d2...d18 * 10^(Exponent + 1). Zero gives eighteen zeros and exponent 0.
struct DecimalExpansion {
  std::array<char, kExpansionDigits> Digits{};
  int Exponent = 0;
};

DecimalExpansion ExpandMagnitude(double magnitude) {
  // Scientific form with 17 digits after the point: "d.ddddddddddddddddde+XX", correctly rounded.
  std::array<char, 40> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                    std::chars_format::scientific, kExpansionDigits - 1);
  DecimalExpansion expansion;
  const char* cursor = text.data();
  expansion.Digits[0] = *cursor;
  cursor += 2;  // the digit and the point
  for (int i = 1; i < kExpansionDigits; ++i) {
    expansion.Digits[static_cast<std::size_t>(i)] = *cursor++;
  }
  ++cursor;  // 'e'
  const bool negativeExponent = *cursor == '-';
  ++cursor;  // sign
  int exponent = 0;
  std::from_chars(cursor, result.ptr, exponent);
  expansion.Exponent = negativeExponent ? -exponent : exponent;
  return expansion;
}

// The kept digits after the final rounding; Digits[0] sits at the place 10^Exponent.
// Empty digits mean the value rounded to zero.
struct RoundedDigits {
  std::string Digits;
  int Exponent = 0;
};

RoundedDigits RoundToKeptDigits(const DecimalExpansion& expansion, int precision, int decimals) {
  const int keep = std::min(expansion.Exponent + decimals + 1, precision);
  RoundedDigits rounded;
  if (keep <= 0) {
    // Nothing reaches the last kept place; only the digit right below it can round up to it.
    if (keep == 0 && expansion.Digits[0] >= '5') {
      rounded.Digits = "1";
      rounded.Exponent = expansion.Exponent + 1;
    }
    return rounded;
  }
  rounded.Digits.assign(expansion.Digits.data(), static_cast<std::size_t>(keep));
  rounded.Exponent = expansion.Exponent;
  const char firstDropped = keep < kExpansionDigits ? expansion.Digits[static_cast<std::size_t>(keep)] : '0';
  if (firstDropped < '5') {
    return rounded;
  }
  for (auto digit = rounded.Digits.rbegin(); digit != rounded.Digits.rend(); ++digit) {
    if (*digit != '9') {
      ++*digit;
      return rounded;
    }
    *digit = '0';
  }
  // Every kept digit was 9: the carry adds a digit in front.
  rounded.Digits.insert(rounded.Digits.begin(), '1');
  ++rounded.Exponent;
  return rounded;
}

bool IsZero(const RoundedDigits& rounded) {
  return std::all_of(rounded.Digits.begin(), rounded.Digits.end(), [](char c) { return c == '0'; });
}

char DigitAtPlace(const RoundedDigits& rounded, int place) {
  const int index = rounded.Exponent - place;
  if (index < 0 || index >= static_cast<int>(rounded.Digits.size())) {
    return '0';
  }
  return rounded.Digits[static_cast<std::size_t>(index)];
}

void AppendScientific(std::string& text, const RoundedDigits& rounded, int decimals,
                      std::string_view decimalSeparator) {
  text += rounded.Digits.front();
  std::string_view rest(rounded.Digits);
  rest.remove_prefix(1);
  const auto lastNonZero = rest.find_last_not_of('0');
  if (lastNonZero != std::string_view::npos) {
    text += decimalSeparator;
    text += rest.substr(0, lastNonZero + 1);
  }
  text += 'E';
  if (rounded.Exponent < 0) {
    text += '-';
  }
  std::array<char, 8> exponentText{};
  const auto result = std::to_chars(exponentText.data(), exponentText.data() + exponentText.size(),
                                    std::abs(rounded.Exponent));
  const auto exponentDigits = static_cast<int>(result.ptr - exponentText.data());
  text.append(static_cast<std::size_t>(std::max(decimals - exponentDigits, 0)), '0');
  text.append(exponentText.data(), result.ptr);
}

void AppendFixed(std::string& text, const RoundedDigits& rounded, int decimals,
                 std::string_view decimalSeparator) {
  for (int place = std::max(rounded.Exponent, 0); place >= 0; --place) {
    text += DigitAtPlace(rounded, place);
  }
  if (decimals == 0) {
    return;
  }
  text += decimalSeparator;
  for (int place = -1; place >= -decimals; --place) {
    text += DigitAtPlace(rounded, place);
  }
}

}  // namespace

std::optional<std::string> FormatFixedPoint(double value, int precision, int decimals,
                                            std::string_view decimalSeparator) {
  if (decimals < 0 || decimals > kMaxDecimals || precision < 1 || precision > kMaxPrecision) {
    return std::nullopt;
  }
  if (std::isnan(value)) {
    return std::string("NAN");
  }
  if (std::isinf(value)) {
    return std::string("INF");
  }
  const RoundedDigits rounded = RoundToKeptDigits(ExpandMagnitude(std::fabs(value)), precision, decimals);
  const bool zero = IsZero(rounded);

  std::string text;
  text.reserve(static_cast<std::size_t>(precision + decimals) + decimalSeparator.size() + 8);
  if (std::signbit(value) && !zero) {
    text += '-';
  }
  if (!zero && rounded.Exponent + 1 > precision) {
    AppendScientific(text, rounded, decimals, decimalSeparator);
  } else {
    AppendFixed(text, rounded, decimals, decimalSeparator);
  }
  return text;
}

}  // namespace kvelt
