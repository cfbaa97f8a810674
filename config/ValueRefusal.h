#pragma once

#include <string_view>

namespace kvelt {

// Why a value typed or chosen on the configuration page is refused, for the refused box's tooltip.
enum class ValueRefusal {
  WholeNumberRange,   // the resolution: a whole number 0..65535 is wanted
  SeparatorExpected,  // a real typed with the other decimal separator
  NotANumber,
  OutOfRange,  // a real a single cannot hold
  NoChoice,    // a list without a selection
};

// Why the typed real `text` is refused under `decimalSeparator`: SeparatorExpected when it reads
// as a number with '.' and ',' exchanged, OutOfRange when it is a number too large for a single,
// NotANumber otherwise.
ValueRefusal RealRefusal(std::string_view text, std::string_view decimalSeparator);

}  // namespace kvelt
