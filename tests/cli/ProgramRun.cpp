#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace kvelt::cli::test {

QString Executable() { return QString::fromUtf8(KVELT_CLI_EXECUTABLE); }

QProcessEnvironment ScriptEnvironment(const QString& locale) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
  environment.insert("LC_ALL", locale);
  return environment;
}

Finished RunToEnd(const QStringList& arguments, const QString& locale, const QByteArray& input) {
  QProcess process;
  process.setProcessEnvironment(ScriptEnvironment(locale));
  process.start(Executable(), arguments);
  if (!input.isEmpty()) process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(30000));
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace kvelt::cli::test
