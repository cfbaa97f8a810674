#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kvelt {

// The message keys of the captions that name the unit chosen in the `unit` list (0 rev/s,
// 1 rev/min, 2 and 3 the metric pair): the speed and position read-out frames and the
// resolution frame of the configuration page.
struct UnitCaptionKeys {
  std::string_view Speed;
  std::string_view Position;
  std::string_view Resolution;
};

// Nothing for an index outside the list.
constexpr std::optional<UnitCaptionKeys> UnitCaptionKeysFor(int unitIndex) {
  constexpr std::array<UnitCaptionKeys, 4> kKeys = {{
      {"IDS_88", "IDS_89", "IDS_90"},
      {"IDS_91", "IDS_89", "IDS_90"},
      {"IDS_94", "IDS_95", "IDS_96"},
      {"IDS_97", "IDS_95", "IDS_96"},
  }};
  if (unitIndex < 0 || unitIndex >= static_cast<int>(kKeys.size())) {
    return std::nullopt;
  }
  return kKeys[static_cast<std::size_t>(unitIndex)];
}

}  // namespace kvelt
