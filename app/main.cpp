// Program entry: the command line is read before the GUI exists, so --help, --version and a bad
// option work without a display; then the application object around the one main window.

#include "app/Main.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/FirstPaintCloser.h"
#include "app/HandlerGuard.h"
#include "app/ProgramVersion.h"
#include "app/TApplication.h"
#include "app/UnixSignalCloser.h"
#include "app/widgets/AppFonts.h"
#include "measure/qt/RecordClock.h"

namespace {

std::string g_platformArgument;
QtMessageHandler g_previousHandler = nullptr;

void PrintProgramLine(const std::string& line) {
  std::fprintf(stderr, "%s: %s\n", qPrintable(QString::fromUtf16(kvelt::app::kProgramName)), line.c_str());
  std::fflush(stderr);
}

// Installed while the application object connects to the display: the toolkit ends the process
// with a fatal message when no platform comes up; print one clear line and exit instead of
// aborting with a core dump.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    PrintProgramLine(kvelt::app::DisplayCheck::PlatformFailed(g_platformArgument));
    std::_Exit(EXIT_FAILURE);
  }
  if (g_previousHandler != nullptr) {
    g_previousHandler(type, context, message);
  }
}

kvelt::app::ProgramOptions ParseCommandLine(int& argc, char** argv) {
  QCoreApplication core(argc, argv);
  QCoreApplication::setApplicationName(QString::fromUtf16(kvelt::app::kProgramName));
  QCoreApplication::setApplicationVersion(QString::fromUtf16(kvelt::app::kProgramVersion));
  kvelt::app::CommandLine commandLine;
  return commandLine.Parse(QCoreApplication::arguments());
}

}  // namespace

int main(int argc, char** argv) {
  kvelt::RecordClock::PinLocalTimeZone();
  const kvelt::app::ProgramOptions options = ParseCommandLine(argc, argv);
  g_platformArgument = options.Platform.toStdString();
  if (const std::string missing = kvelt::app::DisplayCheck::MissingDisplay(g_platformArgument);
      !missing.empty()) {
    PrintProgramLine(missing);
    return EXIT_FAILURE;
  }
  g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
  TApplication application(argc, argv);
  qInstallMessageHandler(g_previousHandler);
  try {
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
