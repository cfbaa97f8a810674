#pragma once

#include <string>
#include <string_view>

namespace kvelt::cli {

// A single-precision value as fixed-point text with at least `minDecimals` decimals and as many
// more as it takes for the text to read back as the same single (by the window's input rules),
// so what `get` prints can be fed to `set` without changing the counter's value. Not finite:
// the read-outs' "NAN" / "INF".
std::string ExactNumberText(float value, int minDecimals, std::string_view decimalSeparator);

}  // namespace kvelt::cli
