#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvelt {

// Fixed-point text of a measured value.
//
// The value is expanded to 18 significant digits (rounded to nearest), then the digits down to the
// `decimals`-th place after the separator are kept, but never more than `precision` digits; the
// first dropped digit decides a round-up in magnitude (halves away from zero). An integer part
// wider than `precision` digits gives the scientific form "1,23E16" (exponent with at least
// `decimals` digits, "-" only for a negative exponent); otherwise the text has exactly `decimals`
// decimals, at least one integer digit and no grouping. A value that rounds to zero has no sign.
// NaN is "NAN", an infinity of either sign "INF".
//
// Returns nullopt (the value cannot be formatted) when `decimals` is outside 0..18 or `precision`
// outside 1..18. Locale-independent: the separator is given by the caller.
std::optional<std::string> FormatFixedPoint(double value, int precision, int decimals,
                                            std::string_view decimalSeparator);

}  // namespace kvelt
