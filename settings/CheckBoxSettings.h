#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kvelt {

// The check boxes of the program settings page and the keys of section "Options" that keep
// them, with the value a missing or unreadable key reads as: auto_save, save_date, save_time,
// save_pos1..4, save_ver1..4.
struct CheckBoxSetting {
  std::string_view Control;  // the object name of the check box
  std::string Key;
  bool Default = false;
};

inline constexpr std::size_t kCheckBoxSettingCount = 11;

const std::array<CheckBoxSetting, kCheckBoxSettingCount>& CheckBoxSettings();

}  // namespace kvelt
