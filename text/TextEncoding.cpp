#include "text/TextEncoding.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvelt {

namespace {

constexpr char16_t kUndefined = 0xFFFD;

// Code points of the Windows-1250 bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kWindows1250High{
    0x20AC,     kUndefined, 0x201A, kUndefined, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    kUndefined, 0x2030,     0x0160, 0x2039,     0x015A, 0x0164, 0x017D, 0x0179,  // 88
    kUndefined, 0x2018,     0x2019, 0x201C,     0x201D, 0x2022, 0x2013, 0x2014,  // 90
    kUndefined, 0x2122,     0x0161, 0x203A,     0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0,     0x02C7,     0x02D8, 0x0141,     0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8,     0x00A9,     0x015E, 0x00AB,     0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0,     0x00B1,     0x02DB, 0x0142,     0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8,     0x0105,     0x015F, 0x00BB,     0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154,     0x00C1,     0x00C2, 0x0102,     0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C,     0x00C9,     0x0118, 0x00CB,     0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110,     0x0143,     0x0147, 0x00D3,     0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158,     0x016E,     0x00DA, 0x0170,     0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155,     0x00E1,     0x00E2, 0x0103,     0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D,     0x00E9,     0x0119, 0x00EB,     0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111,     0x0144,     0x0148, 0x00F3,     0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159,     0x016F,     0x00FA, 0x0171,     0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

bool IsUndefinedWindows1250(std::uint8_t byte) { return kWindows1250High[byte - 0x80u] == kUndefined; }

}  // namespace

bool IsValidUtf8(std::string_view text) {
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // Sequence length, payload bits of the lead byte and the smallest code point of that length.
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      codePoint = lead & 0x1Fu;
      minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      codePoint = lead & 0x0Fu;
      minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      codePoint = lead & 0x07u;
      minimum = 0x10000;
    } else {
      return false;  // continuation byte, overlong two-byte lead or beyond U+10FFFF
    }
    if (size - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(text[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) codePoint = kUndefined;
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<std::uint8_t>(text[at]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else if (lead >= 0x80) {
    ++at;
    return kUndefined;
  }
  if (length == 1) {
    ++at;
    return lead;
  }
  // Validating the one sequence keeps the rules in one place.
  if (text.size() - at < length || !IsValidUtf8(text.substr(at, length))) {
    ++at;
    return kUndefined;
  }
  char32_t codePoint = lead & (0xFFu >> (length + 1));
  for (std::size_t k = 1; k < length; ++k) {
    codePoint = (codePoint << 6) | (static_cast<std::uint8_t>(text[at + k]) & 0x3Fu);
  }
  at += length;
  return codePoint;
}

std::string DecodeWindows1250(std::string_view text, UndefinedByte undefined) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else if (undefined == UndefinedByte::KeepAsControl && IsUndefinedWindows1250(byte)) {
      AppendUtf8(out, byte);
    } else {
      AppendUtf8(out, kWindows1250High[byte - 0x80u]);
    }
  }
  return out;
}

std::optional<std::string> EncodeWindows1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const char32_t codePoint = NextCodePoint(utf8, at);
    if (codePoint < 0x80) {
      out.push_back(static_cast<char>(codePoint));
      continue;
    }
    if (codePoint <= 0xFF && IsUndefinedWindows1250(static_cast<std::uint8_t>(codePoint))) {
      out.push_back(static_cast<char>(codePoint));
      continue;
    }
    // The table is small; a linear search keeps the code page in one place.
    std::size_t index = 0;
    while (index < kWindows1250High.size() &&
           (kWindows1250High[index] != codePoint || kWindows1250High[index] == kUndefined)) {
      ++index;
    }
    if (index == kWindows1250High.size()) return std::nullopt;
    out.push_back(static_cast<char>(0x80 + index));
  }
  return out;
}

std::string ToUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  return DecodeWindows1250(text);
}

}  // namespace kvelt
