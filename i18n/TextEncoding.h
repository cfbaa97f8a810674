#pragma once

#include <string>
#include <string_view>

namespace kvelt {

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code points above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Converts Windows-1250 text to UTF-8. The five bytes the code page leaves undefined become U+FFFD.
std::string DecodeWindows1250(std::string_view text);

// text itself when it is valid UTF-8, else text taken as Windows-1250 and converted.
std::string ToUtf8(std::string_view text);

}  // namespace kvelt
