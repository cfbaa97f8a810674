#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace kvelt::cli::test {

// The kvelt executable as a script runs it.
QString Executable();

struct Finished {
  int Code = -1;
  QString Out;
  QString Err;
};

// The environment of a script on a machine without a display, in the given regional settings.
QProcessEnvironment ScriptEnvironment(const QString& locale = "C.UTF-8");

// Runs kvelt to its end with `input` on its standard input.
Finished RunToEnd(const QStringList& arguments, const QString& locale = "C.UTF-8",
                  const QByteArray& input = {});

}  // namespace kvelt::cli::test
