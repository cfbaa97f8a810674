#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvelt::cli {

// A measured single in full precision for machine formats: the shortest text with '.' that
// reads back as the same single ("0.05", "1234.5", "1e+20"); nullopt when it is not finite.
std::optional<std::string> FullPrecisionText(float value);

// A number typed for `set`, in the machine notation ('.') whatever the locale. Text with the
// locale's own separator is taken too where it can be read only that way; `localeTaken` then
// says so. nullopt: the text is no number in either notation (it is then passed on as typed and
// refused by the setting's own check).
struct MachineNumber {
  std::string Text;
  bool LocaleTaken = false;
};
std::optional<MachineNumber> ToMachineNumber(std::string_view text, std::string_view localeSeparator);

}  // namespace kvelt::cli
