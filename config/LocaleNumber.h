#pragma once

#include <optional>
#include <string_view>

namespace kvelt {

// Conversion of numbers typed by the user. Locale-independent: the caller passes the decimal
// separator of the user's locale. Blanks (any character up to U+0020) around the number are
// ignored; anything else but the number makes the text refused (nullopt), an empty text included.

// A real number: optional '+' or '-', decimal digits with at most one `decimalSeparator` (digits
// on at least one side of it), then optionally 'E' or 'e', an optional sign and at least one digit.
// No thousands separators; any other separator is refused (under "," the text "1.5" is refused).
// A value outside the range of a double is refused.
std::optional<double> ParseLocaleReal(std::string_view text, std::string_view decimalSeparator);

// A decimal integer: optional '+' or '-' and at least one digit, nothing else. A value outside the
// range of long long is refused.
std::optional<long long> ParseDecimalInteger(std::string_view text);

// The real as a single: rounded to nearest; a finite value beyond the largest single is refused
// rather than sent as an infinity, except where it rounds to the largest single itself.
std::optional<float> ToSingle(double value);

}  // namespace kvelt
