#include "device/qt/ProgramAccessHint.h"

#include <QByteArray>
#include <QCoreApplication>
#include <string_view>

#include "settings/ProgramPaths.h"

namespace kvelt::hid {

AccessHint ProgramAccessHint(int openError) {
  const QByteArray programDir = QCoreApplication::applicationDirPath().toUtf8();
  return AccessHint(openError, ProgramPaths::UdevRulePath(std::string_view(
                                   programDir.constData(), static_cast<std::size_t>(programDir.size()))));
}

}  // namespace kvelt::hid
