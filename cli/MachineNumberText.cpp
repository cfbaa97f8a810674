#include "cli/MachineNumberText.h"

#include <charconv>
#include <cmath>

#include "config/LocaleNumber.h"

namespace kvelt::cli {

std::optional<std::string> FullPrecisionText(float value) {
  if (!std::isfinite(value)) return std::nullopt;
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::optional<MachineNumber> ToMachineNumber(std::string_view text, std::string_view localeSeparator) {
  if (ParseLocaleReal(text, ".")) return MachineNumber{std::string(text), false};
  if (localeSeparator.empty() || localeSeparator == "." || !ParseLocaleReal(text, localeSeparator))
    return std::nullopt;
  const std::size_t at = text.find(localeSeparator);
  if (at == std::string_view::npos) return MachineNumber{std::string(text), false};
  std::string machine(text.substr(0, at));
  machine += '.';
  machine += text.substr(at + localeSeparator.size());
  return MachineNumber{machine, true};
}

}  // namespace kvelt::cli
