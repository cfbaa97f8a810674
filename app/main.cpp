// Program entry: the application object around the one main window.

#include "app/AppFonts.h"
#include "app/CommandLine.h"
#include "app/FirstPaintCloser.h"
#include "app/HandlerGuard.h"
#include "app/Main.h"
#include "app/TApplication.h"
#include "app/UnixSignalCloser.h"

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  try {
    kvelt::app::CommandLine commandLine;
    const kvelt::app::ProgramOptions options = commandLine.Parse(QCoreApplication::arguments());
    kvelt::app::AppFonts::EnsureTahoma();
    TFMain window(options);
    kvelt::app::UnixSignalCloser signalCloser(&window);
    if (options.QuitAfterShow) {
      new kvelt::app::FirstPaintCloser(&window);
    }
    window.show();
    QApplication::exec();
  } catch (...) {
    kvelt::app::ShowCurrentException();
  }
  return 0;
}
