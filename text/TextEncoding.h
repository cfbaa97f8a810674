#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvelt {

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code points above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// What the five bytes Windows-1250 leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) become.
enum class UndefinedByte {
  Replace,        // U+FFFD: for texts that are only shown
  KeepAsControl,  // the C1 control of the same number (as Windows maps them), so the byte survives a round
                  // trip
};

// Converts Windows-1250 text to UTF-8.
std::string DecodeWindows1250(std::string_view text, UndefinedByte undefined = UndefinedByte::Replace);

// Converts valid UTF-8 to Windows-1250; nothing when a character has no byte in the code page.
// The inverse of DecodeWindows1250 with KeepAsControl.
std::optional<std::string> EncodeWindows1250(std::string_view utf8);

// The code point of the UTF-8 sequence at text[at], advancing at past it. An ill-formed
// sequence gives U+FFFD and advances by one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& at);

// Appends the UTF-8 form of a code point (a surrogate or a value above U+10FFFF becomes U+FFFD).
void AppendUtf8(std::string& out, char32_t codePoint);

// text itself when it is valid UTF-8, else text taken as Windows-1250 and converted.
std::string ToUtf8(std::string_view text);

}  // namespace kvelt
