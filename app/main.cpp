// Program entry: the application object around the one main window.

#include <QTimer>

#include "app/AppFonts.h"
#include "app/CommandLine.h"
#include "app/HandlerGuard.h"
#include "app/Main.h"
#include "app/RecordClock.h"
#include "app/TApplication.h"
#include "app/UnixSignalCloser.h"

int main(int argc, char** argv) {
  kvelt::app::RecordClock::PinLocalTimeZone();
  TApplication application(argc, argv);
  try {
    kvelt::app::CommandLine commandLine;
    const kvelt::app::ProgramOptions options = commandLine.Parse(QCoreApplication::arguments());
    kvelt::app::AppFonts::EnsureTahoma();
    TFMain window(options);
    kvelt::app::UnixSignalCloser signalCloser(&window);
    window.show();
    if (options.QuitAfterShow) {
      // Runs once the events of showing the window have been handled.
      QTimer::singleShot(0, &window, &QWidget::close);
    }
    QApplication::exec();
  } catch (...) {
    kvelt::app::ShowCurrentException();
  }
  return 0;
}
