#include "settings/Utf8Text.h"

namespace kvelt {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool InRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

// Length of the well-formed sequence at text[i], or 0 when ill-formed; in that case
// badLength is the length of the maximal ill-formed prefix (at least 1).
std::size_t SequenceLength(std::string_view text, std::size_t i, std::size_t& badLength) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  badLength = 1;
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
  if (InRange(lead, 0xC2, 0xDF)) {
    length = 2;
  } else if (InRange(lead, 0xE0, 0xEF)) {
    length = 3;
    if (lead == 0xE0) secondLow = 0xA0;   // no overlong forms
    if (lead == 0xED) secondHigh = 0x9F;  // no surrogates
  } else if (InRange(lead, 0xF0, 0xF4)) {
    length = 4;
    if (lead == 0xF0) secondLow = 0x90;   // no overlong forms
    if (lead == 0xF4) secondHigh = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (i + k >= text.size()) return 0;
    const unsigned char low = k == 1 ? secondLow : 0x80;
    const unsigned char high = k == 1 ? secondHigh : 0xBF;
    if (!InRange(byte(k), low, high)) return 0;
    badLength = k + 1;
  }
  return length;
}

}  // namespace

std::string RepairUtf8(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t badLength = 0;
    const std::size_t length = SequenceLength(text, i, badLength);
    if (length == 0) {
      result += kReplacement;
      i += badLength;
    } else {
      result.append(text, i, length);
      i += length;
    }
  }
  return result;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxCharacters) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (startsCharacter) {
      if (characters == maxCharacters) return text.substr(0, i);
      ++characters;
    }
  }
  return text;
}

}  // namespace kvelt
