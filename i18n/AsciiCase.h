#pragma once

#include <string_view>

namespace kvelt {

// Orders byte strings with A..Z folded to a..z; other bytes compare as unsigned values.
// Negative, zero or positive like std::string_view::compare.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b);

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoringAsciiCase(a, b) == 0;
}

}  // namespace kvelt
