#pragma once

#include <QString>

namespace kvelt {

// Where config.ini lives: in the folder given on the command line when there is one; else, for an
// installed copy (run from a prefix's bin folder) or when the executable's folder is not
// writable, in $XDG_CONFIG_HOME/kvelt-pc/ (by default ~/.config/kvelt-pc/); else beside the
// executable. An installed copy never writes beside itself, not even when run by root.
class SettingsLocation {
 public:
  struct Environment {
    QString ConfigDir;      // from --config-dir, may be empty
    QString ExecutableDir;  // the folder of the running executable
    bool ExecutableDirWritable = true;
    bool Installed = false;  // the executable runs from a prefix's bin folder
    QString XdgConfigHome;   // $XDG_CONFIG_HOME, may be empty
    QString HomeDir;
  };

  // The full path of config.ini for that environment (pure; creates nothing).
  static QString IniPathFor(const Environment& environment);

  // The path for this process; creates the folder when it is one of the two config folders
  // and does not exist yet.
  static QString IniPath(const QString& configDir);
};

}  // namespace kvelt
