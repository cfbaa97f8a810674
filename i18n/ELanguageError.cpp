#include "i18n/ELanguageError.h"

#include <charconv>

namespace kvelt {

namespace {

std::string DecimalText(int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string LanguageErrorMessage(std::string_view ownerClassName, int value, int languageCount) {
  std::string message(ownerClassName);
  message += ": ";
  message += DecimalText(value);
  message += " - is not a valid property value!\rValue must be within [1..";
  message += DecimalText(languageCount);
  message += "]!";
  return message;
}

}  // namespace

ELanguageError::ELanguageError(std::string_view ownerClassName, int value, int languageCount)
    : std::runtime_error(LanguageErrorMessage(ownerClassName, value, languageCount)), value_(value) {}

}  // namespace kvelt
