#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "device/ReportHandOver.h"
#include "device/TaskQueuePoster.h"

namespace kvelt::hid {
namespace {

using namespace std::chrono_literals;

TEST(ReportHandOverTest, WorkRunsOnTheMainThreadAndTheReaderWaitsForIt) {
  TaskQueuePoster poster;
  ReportHandOver handOver(poster);
  const auto mainThread = std::this_thread::get_id();
  std::atomic<bool> returned{false};
  std::thread::id ranOn;
  std::thread reader([&] {
    handOver.HandOver([&] { ranOn = std::this_thread::get_id(); });
    returned = true;
    handOver.ReaderFinished();
  });
  ASSERT_TRUE(poster.RunOne(10s));
  EXPECT_EQ(ranOn, mainThread);
  handOver.WaitForReader();
  EXPECT_TRUE(returned);
  reader.join();
}

TEST(ReportHandOverTest, WaitForReaderServesWorkAlreadyWaiting) {
  TaskQueuePoster poster;
  ReportHandOver handOver(poster);
  int served = 0;
  std::thread reader([&] {
    handOver.HandOver([&] { ++served; });
    handOver.ReaderFinished();
  });
  // Wait until the wake-up is queued (the work is then pending), but do not run it.
  ASSERT_TRUE(poster.WaitForTask(10s));
  handOver.RequestStop();
  EXPECT_TRUE(handOver.WaitForReader());
  reader.join();
  EXPECT_EQ(served, 1);
  poster.RunPending();  // the stale wake-up finds nothing to do
  EXPECT_EQ(served, 1);
}

TEST(ReportHandOverTest, WaitForReaderFromInsideTheWorkReturnsAtOnce) {
  TaskQueuePoster poster;
  ReportHandOver handOver(poster);
  bool waitResult = true;
  std::thread reader([&] {
    handOver.HandOver([&] {
      EXPECT_TRUE(handOver.InsideWork());
      handOver.RequestStop();
      waitResult = handOver.WaitForReader();
    });
    EXPECT_TRUE(handOver.StopRequested());
    handOver.ReaderFinished();
  });
  ASSERT_TRUE(poster.RunOne(10s));
  EXPECT_FALSE(waitResult);
  EXPECT_FALSE(handOver.InsideWork());
  EXPECT_TRUE(handOver.WaitForReader());
  reader.join();
}

TEST(ReportHandOverTest, PauseEndsAtTheStop) {
  TaskQueuePoster poster;
  ReportHandOver handOver(poster);
  EXPECT_FALSE(handOver.Pause(1ms));
  std::atomic<bool> stopped{false};
  std::thread reader([&] {
    stopped = handOver.Pause(std::chrono::hours(1));
    handOver.ReaderFinished();
  });
  handOver.RequestStop();
  EXPECT_TRUE(handOver.WaitForReader());
  reader.join();
  EXPECT_TRUE(stopped);
}

TEST(ReportHandOverTest, ErrorFromTheWorkReachesTheMainThreadAndReleasesTheReader) {
  TaskQueuePoster poster;
  ReportHandOver handOver(poster);
  std::thread reader([&] {
    handOver.HandOver([] { throw std::runtime_error("handler failed"); });
    handOver.ReaderFinished();
  });
  EXPECT_THROW(poster.RunOne(10s), std::runtime_error);
  EXPECT_TRUE(handOver.WaitForReader());
  reader.join();
}

// Many readers, started and stopped again and again, each handing over numbered reports as
// fast as it can: every report is delivered exactly once, on the main thread, never while
// another delivery runs, and every stop completes.
TEST(ReportHandOverTest, HundredThousandReportsWhileReadersStartAndStop) {
  constexpr std::uint32_t kTotal = 100000;
  TaskQueuePoster poster;
  const auto mainThread = std::this_thread::get_id();
  std::atomic<std::uint32_t> nextSequence{0};
  std::vector<std::uint8_t> seen(kTotal * 2, 0);
  std::uint32_t delivered = 0;
  std::uint32_t produced = 0;
  bool inside = false;
  bool wrongThread = false, reentered = false, duplicate = false;

  struct Reader {
    explicit Reader(TaskQueuePoster& poster) : HandOver(poster) {}
    ReportHandOver HandOver;
    std::thread Thread;
    std::uint32_t Produced = 0;
  };
  auto start = [&](std::unique_ptr<Reader>& slot) {
    slot = std::make_unique<Reader>(poster);
    Reader* r = slot.get();
    r->Thread = std::thread([&, r] {
      while (!r->HandOver.StopRequested()) {
        const std::uint32_t sequence = nextSequence++;
        const std::function<void()> work = [&, sequence] {
          if (std::this_thread::get_id() != mainThread) wrongThread = true;
          if (inside) reentered = true;
          inside = true;
          if (sequence < seen.size() && seen[sequence]++ != 0) duplicate = true;
          ++delivered;
          inside = false;
        };
        r->HandOver.HandOver(work);
        ++r->Produced;
      }
      r->HandOver.ReaderFinished();
    });
  };
  auto stop = [&](std::unique_ptr<Reader>& slot) {
    slot->HandOver.RequestStop();
    ASSERT_TRUE(slot->HandOver.WaitForReader());
    slot->Thread.join();
    produced += slot->Produced;
    slot.reset();
  };

  std::unique_ptr<Reader> readers[3];
  for (auto& r : readers) start(r);
  std::uint32_t round = 0;
  while (delivered < kTotal) {
    const std::uint32_t target = delivered + 1 + (round * 37) % 400;
    ASSERT_TRUE(poster.RunUntil([&] { return delivered >= target; }, 30s)) << "stalled";
    std::unique_ptr<Reader>& victim = readers[round % 3];
    stop(victim);
    start(victim);
    ++round;
  }
  for (auto& r : readers) stop(r);
  poster.RunPending();

  EXPECT_FALSE(wrongThread);
  EXPECT_FALSE(reentered);
  EXPECT_FALSE(duplicate);
  EXPECT_EQ(delivered, produced) << "every hand-over was delivered, none lost at a stop";
  EXPECT_GE(delivered, kTotal);
  EXPECT_GT(round, 100u);
}

// Back to back, the reader first spins for the end of a hand-over, then sleeps. Whichever way
// the work ends, quickly, after the spin or with an error, the reader must return only after
// it. The first of the three hand-overs is not back to back (the reader sleeps at once).
struct SlowWorkCase {
  const char* Name;
  std::chrono::microseconds WorkTime;
  bool Throws;
};

void PrintTo(const SlowWorkCase& c, std::ostream* os) { *os << c.Name; }

class ReportHandOverSlowWorkTest : public ::testing::TestWithParam<SlowWorkCase> {};

TEST_P(ReportHandOverSlowWorkTest, ReaderReturnsOnlyAfterTheWork) {
  const SlowWorkCase& c = GetParam();
  TaskQueuePoster poster;
  ReportHandOver handOver(poster);
  bool workEnded = false;  // plain: the reader may read it only after the hand-over
  bool endedBeforeReturn = false;
  const std::function<void()> work = [&] {
    std::this_thread::sleep_for(c.WorkTime);
    workEnded = true;
    if (c.Throws) throw std::runtime_error("handler failed");
  };
  std::thread reader([&] {
    for (int i = 0; i < 3; ++i) {
      workEnded = false;
      handOver.HandOver(work);
      endedBeforeReturn = workEnded;
      if (!endedBeforeReturn) break;
    }
    handOver.ReaderFinished();
  });
  for (int i = 0; i < 3 && !handOver.Finished(); ++i) {
    if (c.Throws) {
      EXPECT_THROW(poster.RunOne(10s), std::runtime_error);
    } else {
      EXPECT_TRUE(poster.RunOne(10s));
    }
  }
  EXPECT_TRUE(handOver.WaitForReader());
  reader.join();
  EXPECT_TRUE(endedBeforeReturn);
}

INSTANTIATE_TEST_SUITE_P(
    WorkTimes, ReportHandOverSlowWorkTest,
    ::testing::Values(SlowWorkCase{"Instant", 0us, false}, SlowWorkCase{"WithinTheSpin", 10us, false},
                      SlowWorkCase{"JustPastTheSpin", 80us, false},
                      SlowWorkCase{"FarPastTheSpin", 5000us, false}, SlowWorkCase{"InstantThrows", 0us, true},
                      SlowWorkCase{"FarPastTheSpinThrows", 5000us, true}),
    [](const ::testing::TestParamInfo<SlowWorkCase>& info) { return std::string(info.param.Name); });

// A stop while the reader waits for its hand-over, early (it still spins) or late (it sleeps):
// the stop serves the waiting work once, releases the reader and completes.
class ReportHandOverStopWhileWaitingTest : public ::testing::TestWithParam<std::chrono::microseconds> {};

TEST_P(ReportHandOverStopWhileWaitingTest, StopServesTheWorkAndReleasesTheReader) {
  TaskQueuePoster poster;
  ReportHandOver handOver(poster);
  int served = 0;
  bool servedBeforeReturn = false;
  std::thread reader([&] {
    handOver.HandOver([&] { ++served; });
    // Back to back with the first, so the reader spins before it sleeps.
    handOver.HandOver([&] { ++served; });
    servedBeforeReturn = served == 2;
    handOver.ReaderFinished();
  });
  ASSERT_TRUE(poster.RunOne(10s));
  ASSERT_TRUE(poster.WaitForTask(10s));
  std::this_thread::sleep_for(GetParam());
  handOver.RequestStop();
  EXPECT_TRUE(handOver.WaitForReader());
  reader.join();
  EXPECT_TRUE(servedBeforeReturn);
  poster.RunPending();  // the stale wake-up finds nothing to do
  EXPECT_EQ(served, 2);
}

INSTANTIATE_TEST_SUITE_P(StopDelays, ReportHandOverStopWhileWaitingTest,
                         ::testing::Values(0us, 10us, 80us, 5000us));

}  // namespace
}  // namespace kvelt::hid
