// The command line's tests run its subcommands in this process, which needs the event loop's
// application object; the simulated counter's dates and times follow the fixed zone pin.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "measure/qt/RecordClock.h"

int main(int argc, char** argv) {
  kvelt::RecordClock::PinLocalTimeZone();
  QCoreApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
