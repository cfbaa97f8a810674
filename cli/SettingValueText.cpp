#include "cli/SettingValueText.h"

#include <cstdint>

#include "cli/ValueOptions.h"
#include "config/DeviceCommands.h"

namespace kvelt::cli {

std::optional<int> ZeroMarkerPosition(const std::string& value) {
  if (value == "yes" || value == "tak" || value == "1") return 1;
  if (value == "no" || value == "nie" || value == "0") return 0;
  return std::nullopt;
}

std::optional<int> GateTimePosition(const std::string& value) {
  const bool bare = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
  const auto length = ParseDuration(bare ? value + "ms" : value);
  if (!length) return std::nullopt;
  for (int position = 0; position < kGateTimeCount; ++position) {
    // Compared in the duration's own width: a cast to 32 bits would take 4294967396 ms for 100 ms.
    const std::optional<std::uint32_t> ms = GateTimeMilliseconds(position);
    if (ms && static_cast<long long>(*ms) == length->count()) return position;
  }
  return std::nullopt;
}

std::string GateTimeChoices() {
  std::string text;
  for (int position = 0; position < kGateTimeCount; ++position) {
    text += (position > 0 ? ", " : "") + std::to_string(*GateTimeMilliseconds(position)) + "ms";
  }
  return text;
}

std::optional<int> BaudRatePosition(const std::string& value) {
  const auto& labels = ModbusBaudRateLabels();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (labels[i] == value) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace kvelt::cli
