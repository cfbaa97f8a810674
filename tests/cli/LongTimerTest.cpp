#include <gtest/gtest.h>

#include <QEventLoop>
#include <chrono>
#include <climits>

#include "cli/LongTimer.h"

namespace kvelt::cli {
namespace {

using std::chrono::milliseconds;

// Lengths at and past what a QTimer's int of milliseconds holds: each runs as steps that fit.
TEST(LongTimerTest, LengthsPastAnIntRunInStepsThatFit) {
  for (const long long length :
       {2147483647LL, 2147483648LL, 4294967297LL, 4294970296LL, 2149200000LL, 31622400000LL, LLONG_MAX}) {
    LongTimer timer([] { FAIL() << "fired"; });
    timer.Start(milliseconds(length));
    EXPECT_TRUE(timer.Active()) << length;
    EXPECT_EQ(timer.StepLength(), LongTimer::kMaxQtInterval) << length;
  }
}

TEST(LongTimerTest, FiresOnceAfterTheWholeLengthNotAfterTheFirstStep) {
  QEventLoop loop;
  int fired = 0;
  LongTimer timer([&] { loop.exit(++fired); }, milliseconds(2));
  const auto start = std::chrono::steady_clock::now();
  timer.Start(milliseconds(30));
  EXPECT_EQ(loop.exec(), 1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(30));
}

}  // namespace
}  // namespace kvelt::cli
