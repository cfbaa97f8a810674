#pragma once

#include <string>
#include <string_view>

namespace kvelt::cli {

// The program's message texts from the window's translation table, in language 1 (Polish) or
// 2 (English).
std::string LanguageText(int language, std::string_view key);

}  // namespace kvelt::cli
