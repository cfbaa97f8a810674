#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvelt {

// Comma text: items separated by commas; an item holding a blank (or another control character), a
// comma or a double quote is enclosed in double quotes, with every double quote inside doubled.
// ToCommaText also quotes empty items, so every list survives a round trip.
//
// ParseCommaText reads the form leniently: blanks around items are skipped, an unquoted item ends at a
// comma or a blank, and a quoted item missing its closing quote runs to the end of the text.
std::vector<std::string> ParseCommaText(std::string_view text);
std::string ToCommaText(const std::vector<std::string>& items);

}  // namespace kvelt
