#include "text/Utf16Text.h"

#include <cstdint>

#include "text/TextEncoding.h"

namespace kvelt {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char32_t UnitAt(std::string_view bytes, std::size_t index, ByteOrder order) {
  const auto first = static_cast<std::uint8_t>(bytes[index]);
  const auto second = static_cast<std::uint8_t>(bytes[index + 1]);
  return order == ByteOrder::LittleEndian ? static_cast<char32_t>(first | (second << 8))
                                          : static_cast<char32_t>((first << 8) | second);
}

void AppendUnit(std::string& out, char32_t unit, ByteOrder order) {
  const auto low = static_cast<char>(unit & 0xFF);
  const auto high = static_cast<char>((unit >> 8) & 0xFF);
  if (order == ByteOrder::LittleEndian) {
    out.push_back(low);
    out.push_back(high);
  } else {
    out.push_back(high);
    out.push_back(low);
  }
}

}  // namespace

std::string DecodeUtf16(std::string_view bytes, ByteOrder order) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t unit = UnitAt(bytes, 2 * i, order);
    if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(UnitAt(bytes, 2 * (i + 1), order))) {
      const char32_t low = UnitAt(bytes, 2 * (i + 1), order);
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string EncodeUtf16(std::string_view utf8, ByteOrder order) {
  std::string out;
  out.reserve(utf8.size() * 2);
  std::size_t at = 0;
  while (at < utf8.size()) {
    const char32_t codePoint = NextCodePoint(utf8, at);
    if (codePoint >= 0x10000) {
      const char32_t offset = codePoint - 0x10000;
      AppendUnit(out, 0xD800 + (offset >> 10), order);
      AppendUnit(out, 0xDC00 + (offset & 0x3FF), order);
    } else {
      AppendUnit(out, codePoint, order);
    }
  }
  return out;
}

}  // namespace kvelt
