#include "settings/IniValue.h"

#include <array>
#include <charconv>
#include <system_error>

namespace kvelt {
namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The whole of text must be one number of the base; from_chars alone would accept
// a leading '-' and stop quietly at the first foreign character.
std::optional<int> ParseWhole(std::string_view text, int base, bool allowMinus) {
  if (text.empty()) return std::nullopt;
  if (text.front() == '-' && !allowMinus) return std::nullopt;
  int result = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, result, base);
  if (error != std::errc() || stop != end) return std::nullopt;
  return result;
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view value) {
  if (value.size() >= 3 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
    const std::string_view digits = value.substr(2);
    if (!IsHexDigit(digits.front())) return std::nullopt;
    return ParseWhole(digits, 16, false);
  }
  if (!value.empty() && value.front() == '+') {
    value.remove_prefix(1);
    if (value.empty() || !IsDecimalDigit(value.front())) return std::nullopt;
  }
  return ParseWhole(value, 10, true);
}

std::string FormatIniInteger(int value) {
  std::array<char, 16> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  (void)error;  // sixteen characters always hold an int
  return std::string(buffer.data(), end);
}

std::string SanitizeIniValue(std::string_view value) {
  std::string result(value);
  for (char& c : result) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return result;
}

std::string_view TrimIniBlanks(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace kvelt
