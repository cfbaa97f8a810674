#pragma once

#include <string>
#include <string_view>

namespace kvelt {

// Names of the keys of section "Options" in config.ini.
namespace SettingsKeys {
inline constexpr std::string_view Section = "Options";
inline constexpr std::string_view AutoSave = "AutoSave";
inline constexpr std::string_view SaveDate = "SaveDate";
inline constexpr std::string_view SaveTime = "SaveTime";
inline constexpr std::string_view ScreenTop = "ScreenTop";
inline constexpr std::string_view ScreenLeft = "ScreenLeft";
inline constexpr std::string_view Language = "Language";
inline constexpr std::string_view SaveFile = "SaveFile";
inline constexpr std::string_view Div = "Div";
inline constexpr std::string_view Unit = "Unit";
inline constexpr std::string_view SavePeriod = "SavePeriod";
// The chart page shown as a tab; written only once the user has changed it.
inline constexpr std::string_view ShowChart = "ShowChart";

// "SavePos1".."SavePos4" and "SaveVer1".."SaveVer4" (position and speed column of
// channel n); std::out_of_range for n outside 1..4.
std::string SavePos(int n);
std::string SaveVer(int n);
}  // namespace SettingsKeys

// Values a key reads as when the file lacks it or its value does not read, and the
// one value of a fresh file that differs from its read default.
namespace SettingsDefaults {
inline constexpr bool AutoSave = false;
inline constexpr bool SaveColumn = true;  // SaveDate, SaveTime, SavePos1..4, SaveVer1..4
inline constexpr int ScreenTop = 0;
inline constexpr int ScreenLeft = 0;
inline constexpr int Div = 2;
inline constexpr int Unit = 0;
inline constexpr int SavePeriod = 1;
inline constexpr bool ShowChart = false;
// Not an index of the two-entry language picker: the file format gives 2 for a
// missing Language key, and the window decides what to make of it.
inline constexpr int Language = 2;
// The recording file of a fresh file and of one without SaveFile: pomiar.csv in the user's home
// folder ($HOME, else the password database) as an absolute path; the bare name when neither
// names an absolute folder.
std::string SaveFile();
}  // namespace SettingsDefaults

}  // namespace kvelt
