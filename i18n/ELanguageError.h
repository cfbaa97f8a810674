#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kvelt {

// Raised when a language number outside 1..languageCount is activated. The message reads
// "<owner>: <value> - is not a valid property value!\rValue must be within [1..<languageCount>]!".
class ELanguageError : public std::runtime_error {
 public:
  ELanguageError(std::string_view ownerClassName, int value, int languageCount);

  int Value() const { return value_; }

 private:
  int value_;
};

}  // namespace kvelt
