#include "settings/CheckBoxSettings.h"

#include "settings/SettingsKeys.h"

namespace kvelt {

const std::array<CheckBoxSetting, kCheckBoxSettingCount>& CheckBoxSettings() {
  namespace Keys = SettingsKeys;
  namespace Defaults = SettingsDefaults;
  static const std::array<CheckBoxSetting, kCheckBoxSettingCount> kSettings = {{
      {"auto_save", std::string(Keys::AutoSave), Defaults::AutoSave},
      {"save_date", std::string(Keys::SaveDate), Defaults::SaveColumn},
      {"save_time", std::string(Keys::SaveTime), Defaults::SaveColumn},
      {"save_pos1", Keys::SavePos(1), Defaults::SaveColumn},
      {"save_pos2", Keys::SavePos(2), Defaults::SaveColumn},
      {"save_pos3", Keys::SavePos(3), Defaults::SaveColumn},
      {"save_pos4", Keys::SavePos(4), Defaults::SaveColumn},
      {"save_ver1", Keys::SaveVer(1), Defaults::SaveColumn},
      {"save_ver2", Keys::SaveVer(2), Defaults::SaveColumn},
      {"save_ver3", Keys::SaveVer(3), Defaults::SaveColumn},
      {"save_ver4", Keys::SaveVer(4), Defaults::SaveColumn},
  }};
  return kSettings;
}

}  // namespace kvelt
