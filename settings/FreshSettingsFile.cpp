#include "settings/FreshSettingsFile.h"

#include <array>
#include <string>

#include "settings/SettingsKeys.h"

namespace kvelt {

void WriteFreshSettingsFile(IniSession& session) {
  namespace Keys = SettingsKeys;
  std::array<std::string, 4> savePos;
  std::array<std::string, 4> saveVer;
  for (int n = 1; n <= 4; ++n) {
    savePos[n - 1] = Keys::SavePos(n);
    saveVer[n - 1] = Keys::SaveVer(n);
  }
  const std::string saveFile = SettingsDefaults::SaveFile();
  const std::array<IniFile::Entry, 17> entries{{
      {Keys::AutoSave, "0"},
      {Keys::SaveDate, "1"},
      {Keys::SaveTime, "1"},
      {savePos[0], "1"},
      {savePos[1], "1"},
      {savePos[2], "1"},
      {savePos[3], "1"},
      {saveVer[0], "1"},
      {saveVer[1], "1"},
      {saveVer[2], "1"},
      {saveVer[3], "1"},
      {Keys::ScreenTop, "0"},
      {Keys::ScreenLeft, "0"},
      {Keys::Language, "0"},
      {Keys::SaveFile, saveFile},
      {Keys::Div, "2"},
      {Keys::Unit, "0"},
  }};
  for (const auto& [key, value] : entries) session.WriteString(Keys::Section, key, value);
  session.Save();
}

void WriteFreshSettingsFile(const IniFile& file) {
  IniSession session(file);
  WriteFreshSettingsFile(session);
}

}  // namespace kvelt
