#pragma once

#include <QString>

#include "settings/IniFile.h"

namespace kvelt::app {

// Where the window's config.ini lives (set at start-up) and the file opened there afresh.
class SettingsFile {
 public:
  const QString& Path() const { return path_; }
  void SetPath(const QString& path) { path_ = path; }
  // config.ini at Path(), read again by every call of its members.
  IniFile Open() const;

 private:
  QString path_;
};

}  // namespace kvelt::app
