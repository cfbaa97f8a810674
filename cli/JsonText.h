#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvelt::cli {

// A JSON string literal of the text, quotes included; text that is not valid UTF-8 keeps its
// ASCII and gets U+FFFD for every other byte.
std::string JsonString(std::string_view text);

// A measured value as a JSON number with `decimals` decimals, or null when it is not finite.
std::string JsonNumber(double value, int decimals);

// Builds one JSON object on one line, members in the order added.
class JsonObject {
 public:
  JsonObject& Raw(std::string_view name, std::string_view json);
  JsonObject& String(std::string_view name, std::string_view text);
  JsonObject& Integer(std::string_view name, long long value);
  JsonObject& Bool(std::string_view name, bool value);
  std::string Text() const { return text_ + "}"; }

 private:
  std::string text_ = "{";
};

}  // namespace kvelt::cli
