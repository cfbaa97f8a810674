#include "cli/JsonText.h"

#include <cmath>
#include <cstdio>

#include "measure/FixedPointFormat.h"
#include "text/TextEncoding.h"

namespace kvelt::cli {

std::string JsonString(std::string_view text) {
  // A device name or path need not be UTF-8; JSON must be. Such text keeps its ASCII and every
  // other byte becomes U+FFFD.
  if (!IsValidUtf8(text)) {
    std::string cleaned;
    for (const char c : text) {
      if (static_cast<unsigned char>(c) < 0x80) {
        cleaned += c;
      } else {
        cleaned += "\xEF\xBF\xBD";
      }
    }
    return JsonString(cleaned);
  }
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value, int decimals) {
  if (!std::isfinite(value)) return "null";
  // The read-outs' rounding with a '.' separator; a value too wide for fixed point comes out in
  // the scientific form, which JSON reads as well once its exponent has an 'E'.
  const std::optional<std::string> text = FormatFixedPoint(value, 15, decimals, ".");
  return text ? *text : "null";
}

JsonObject& JsonObject::Raw(std::string_view name, std::string_view json) {
  if (text_.size() > 1) text_ += ",";
  text_ += JsonString(name);
  text_ += ":";
  text_ += json;
  return *this;
}

JsonObject& JsonObject::String(std::string_view name, std::string_view text) {
  return Raw(name, JsonString(text));
}

JsonObject& JsonObject::Integer(std::string_view name, long long value) {
  return Raw(name, std::to_string(value));
}

JsonObject& JsonObject::Bool(std::string_view name, bool value) {
  return Raw(name, value ? "true" : "false");
}

}  // namespace kvelt::cli
