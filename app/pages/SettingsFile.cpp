#include "app/pages/SettingsFile.h"

namespace kvelt::app {

IniFile SettingsFile::Open() const { return IniFile(path_.toStdString()); }

}  // namespace kvelt::app
