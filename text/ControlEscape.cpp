#include "text/ControlEscape.h"

#include <cstdio>

#include "text/TextEncoding.h"

namespace kvelt {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

void AppendEscaped(std::string& out, const char* format, unsigned value) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, format, value);
  out += escaped;
}

}  // namespace

std::string EscapeControlCharacters(std::string_view text, LineBreaks lineBreaks) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    const char32_t code = NextCodePoint(text, at);
    const std::string_view sequence = text.substr(start, at - start);
    if (code == kReplacement && sequence != kReplacementUtf8) {
      AppendEscaped(out, "\\x%02x", static_cast<unsigned char>(text[start]));  // not UTF-8
    } else if (code == '\n' && lineBreaks == LineBreaks::Keep) {
      out += '\n';
    } else if (code < 0x20 || code == 0x7F) {
      AppendEscaped(out, "\\x%02x", static_cast<unsigned>(code));
    } else if (code >= 0x80 && code <= 0x9F) {
      AppendEscaped(out, "\\u%04x", static_cast<unsigned>(code));
    } else if (code == '\\') {
      out += "\\\\";
    } else {
      out += sequence;
    }
  }
  return out;
}

}  // namespace kvelt
