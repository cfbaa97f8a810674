#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvelt {

// Reads a stored value as an integer: an optional sign and decimal digits, or
// "0x"/"0X" followed by hexadecimal digits (the prefix counts only when the value
// has at least three characters). The whole value must read and fit an int;
// otherwise there is no value. Callers pass the value with its blanks trimmed.
std::optional<int> ParseIniInteger(std::string_view value);

// Decimal text of an integer, independent of the locale.
std::string FormatIniInteger(int value);

// A stored value must stay on its key's line: every CR and LF becomes a blank.
// (File names, the only free texts stored, never legitimately contain either.)
std::string SanitizeIniValue(std::string_view value);

// Strips spaces and tabs from both ends.
std::string_view TrimIniBlanks(std::string_view text);

}  // namespace kvelt
