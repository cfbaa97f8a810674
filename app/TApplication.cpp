#include "app/TApplication.h"

#include "app/HandlerGuard.h"
#include "app/ProgramVersion.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  const QString title = QString::fromUtf16(kvelt::app::kApplicationTitle);
  setApplicationName(title);
  setApplicationDisplayName(title);
  setApplicationVersion(QString::fromUtf16(kvelt::app::kProgramVersion));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    kvelt::app::ShowCurrentException();
  }
  return false;
}
