#include "app/AccessHint.h"

#include "settings/ProgramPaths.h"

namespace kvelt::app {
namespace {

const QString kReload = QStringLiteral("sudo udevadm control --reload-rules && sudo udevadm trigger");

}  // namespace

QString AccessHint::Text(int language, const QString& executableDir) {
  const std::string dir = executableDir.toStdString();
  const QString rule = QString::fromStdString(ProgramPaths::UdevRulePath(dir));
  const bool polish = language == 1;
  QString what;
  if (ProgramPaths::RunsInstalled(dir)) {
    what = polish ? QStringLiteral("Reguła udev %1 jest zainstalowana; wczytaj reguły: %2").arg(rule, kReload)
                  : QStringLiteral("The udev rule %1 is installed; reload the rules: %2").arg(rule, kReload);
  } else {
    const QString install = QStringLiteral("sudo install -m 644 %1 /etc/udev/rules.d/ && %2").arg(rule, kReload);
    what = polish ? QStringLiteral("Zainstaluj regułę udev: ") + install
                  : QStringLiteral("Install the udev rule: ") + install;
  }
  if (polish) {
    return QStringLiteral("Brak dostępu do węzła urządzenia licznika KVELT (hidraw). ") + what +
           QStringLiteral(", potem odłącz i podłącz licznik.");
  }
  return QStringLiteral("The KVELT counter's device node (hidraw) is not accessible. ") + what +
         QStringLiteral(", then unplug and replug the counter.");
}

}  // namespace kvelt::app
