#include "app/TApplication.h"

#include <QIcon>

#include "app/HandlerGuard.h"
#include "app/ProgramVersion.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  const QString title = QString::fromUtf16(kvelt::app::kApplicationTitle);
  setApplicationName(title);
  setApplicationDisplayName(title);
  setApplicationVersion(QString::fromUtf16(kvelt::app::kProgramVersion));
  // Lets the desktop match the window with its menu entry and icon.
  const QString id = QString::fromUtf16(kvelt::app::kApplicationId);
  setDesktopFileName(id);
  setWindowIcon(QIcon::fromTheme(id));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    kvelt::app::ShowCurrentException();
  }
  return false;
}
