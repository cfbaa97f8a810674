#include "settings/qt/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "settings/ProgramPaths.h"

namespace kvelt {
namespace {

const QString kFileName = QStringLiteral("config.ini");

QString UserConfigDir(const SettingsLocation::Environment& environment) {
  // The XDG rules ignore a relative $XDG_CONFIG_HOME.
  const QString base = !environment.XdgConfigHome.isEmpty() && QDir::isAbsolutePath(environment.XdgConfigHome)
                           ? environment.XdgConfigHome
                           : QDir(environment.HomeDir).filePath(QStringLiteral(".config"));
  return QDir(base).filePath(QStringLiteral("kvelt-pc"));
}

}  // namespace

QString SettingsLocation::IniPathFor(const Environment& environment) {
  if (!environment.ConfigDir.isEmpty()) {
    return QDir(environment.ConfigDir).filePath(kFileName);
  }
  if (environment.Installed || !environment.ExecutableDirWritable) {
    return QDir(UserConfigDir(environment)).filePath(kFileName);
  }
  return QDir(environment.ExecutableDir).filePath(kFileName);
}

QString SettingsLocation::IniPath(const QString& configDir) {
  Environment environment;
  environment.ConfigDir = configDir;
  environment.ExecutableDir = QCoreApplication::applicationDirPath();
  environment.ExecutableDirWritable = QFileInfo(environment.ExecutableDir).isWritable();
  environment.Installed = ProgramPaths::RunsInstalled(environment.ExecutableDir.toStdString());
  environment.XdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
  environment.HomeDir = QDir::homePath();
  QString path = IniPathFor(environment);
  if (!configDir.isEmpty() || environment.Installed || !environment.ExecutableDirWritable) {
    // A folder that cannot be made shows up as the settings write error at the first write.
    QDir().mkpath(QFileInfo(path).absolutePath());
  }
  return path;
}

}  // namespace kvelt
