#include "device/ReportHandOver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

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

}  // namespace
}  // namespace kvelt::hid
