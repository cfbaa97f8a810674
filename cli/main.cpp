// Entry of the kvelt command-line program: an event loop without any display.

#include <QCoreApplication>

#include "cli/CliProgram.h"
#include "measure/qt/RecordClock.h"

int main(int argc, char** argv) {
  kvelt::RecordClock::PinLocalTimeZone();
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName("kvelt");
  return kvelt::cli::RunProgram(QCoreApplication::arguments());
}
