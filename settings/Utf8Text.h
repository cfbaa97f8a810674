#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvelt {

// Returns text as valid UTF-8: every maximal ill-formed subsequence (for example a
// byte of an 8-bit code page such as Windows-1250) becomes U+FFFD, the way Unicode
// recommends; well-formed sequences are copied unchanged.
std::string RepairUtf8(std::string_view text);

// The first maxCharacters code points of valid UTF-8 text (all of it when shorter).
std::string_view CutUtf8(std::string_view text, std::size_t maxCharacters);

}  // namespace kvelt
