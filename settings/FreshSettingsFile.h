#pragma once

#include "settings/IniFile.h"
#include "settings/IniSession.h"

namespace kvelt {

// Gives the file the seventeen keys of a first start, in this order: AutoSave 0,
// SaveDate 1, SaveTime 1, SavePos1..4 1, SaveVer1..4 1, ScreenTop 0, ScreenLeft 0,
// Language 0, SaveFile pomiar.csv in the home folder (SettingsDefaults::SaveFile), Div 2,
// Unit 0, all in section Options.
// Meant for a missing file, which then holds exactly the section line and these
// lines. Throws SettingsWriteError when the file cannot be written. The session form
// saves through the session, whose reads then see the fresh keys.
void WriteFreshSettingsFile(IniSession& session);
void WriteFreshSettingsFile(const IniFile& file);

}  // namespace kvelt
