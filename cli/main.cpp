// Entry of the kvelt command-line program: an event loop without any display.

#include <QCoreApplication>
#include <csignal>

#include "cli/CliProgram.h"
#include "measure/qt/RecordClock.h"

int main(int argc, char** argv) {
  kvelt::RecordClock::PinLocalTimeZone();
  // A reader that goes away shows as EPIPE on the write, where each command ends as it should,
  // instead of a signal that kills the program mid-line.
  std::signal(SIGPIPE, SIG_IGN);
  // The plain Unix event loop: the program needs no GLib integration, and every report the
  // counter sends wakes the loop, so its cheaper wake-up shows in the CPU a long recording costs.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName("kvelt");
  return kvelt::cli::RunProgram(QCoreApplication::arguments());
}
