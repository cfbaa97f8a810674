#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "protocol/ByteOrder.h"
#include "tests/device/ControllerFixture.h"

namespace kvelt::hid::test {
namespace {

using namespace std::chrono_literals;

class ReaderTest : public ControllerFixture {
 protected:
  void SetUp() override {
    Start({"keyboard", "counter"});
    Counter = Controller->CheckOutDevice(1);
    ASSERT_NE(Counter, nullptr);
    CounterObject = Counter.get();
  }
  void TearDown() override { Counter.reset(); }

  THidDataEvent Recorder() {
    return [this](THidDevice& dev, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
      EXPECT_EQ(std::this_thread::get_id(), MainThread);
      EXPECT_EQ(&dev, CounterObject);
      Reports.push_back({id, std::vector<std::uint8_t>(data, data + size)});
    };
  }

  struct Received {
    std::uint8_t ReportID;
    std::vector<std::uint8_t> Data;
  };
  std::thread::id MainThread = std::this_thread::get_id();
  std::unique_ptr<THidDevice> Counter;
  THidDevice* CounterObject = nullptr;  // still valid while a check-in delivers
  std::vector<Received> Reports;
};

TEST_F(ReaderTest, ReportsReachTheHandlerOnTheMainThreadWithIdDataAndSize) {
  Backend.QueueReport("counter", {1, 100, 7, 8});
  Backend.QueueReport("counter", {2, 104});
  Backend.QueueReport("counter", {9});  // one byte: a report with nothing after its id
  Counter->SetDataHandler(Recorder());
  ASSERT_TRUE(Poster.RunUntil([&] { return Reports.size() == 3; }, 10s));
  EXPECT_EQ(Reports[0].ReportID, 1);
  EXPECT_EQ(Reports[0].Data, (std::vector<std::uint8_t>{100, 7, 8}));
  EXPECT_EQ(Reports[1].ReportID, 2);
  EXPECT_EQ(Reports[1].Data, (std::vector<std::uint8_t>{104}));
  EXPECT_EQ(Reports[2].ReportID, 9);
  EXPECT_TRUE(Reports[2].Data.empty());
}

TEST_F(ReaderTest, ReaderWaitsForTheHandlerBeforeReadingOn) {
  for (std::uint8_t i = 0; i < 3; ++i) Backend.QueueReport("counter", {1, i});
  Counter->SetDataHandler(Recorder());
  ASSERT_TRUE(Backend.WaitForReportsRead("counter", 1, 10000));
  // The first report waits for the main thread; the reader must not have read the second.
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(Backend.ReportsRead("counter"), 1u);
  ASSERT_TRUE(Poster.RunOne(10s));
  ASSERT_TRUE(Backend.WaitForReportsRead("counter", 2, 10000));
  ASSERT_TRUE(Poster.RunUntil([&] { return Reports.size() == 3; }, 10s));
}

TEST_F(ReaderTest, ReportWaitingForHandOverIsDeliveredDuringCheckIn) {
  Backend.QueueReport("counter", {1, 103, 42});
  Counter->SetDataHandler(Recorder());
  ASSERT_TRUE(Backend.WaitForReportsRead("counter", 1, 10000));
  // Not handed over yet: the main thread has not run. Checking the device in stops the
  // reader, and the stop delivers the waiting report first.
  bool handlerSawLentDevice = false;
  Counter->SetDataHandler([&](THidDevice& dev, std::uint8_t, const std::uint8_t* data, std::uint16_t) {
    handlerSawLentDevice = dev.CheckedOut() && data[0] == 103;
  });
  Counter.reset();
  EXPECT_TRUE(handlerSawLentDevice);
}

TEST_F(ReaderTest, ClearingTheHandlerStopsTheReaderAndASecondHandlerTakesOver) {
  Counter->SetDataHandler(Recorder());
  EXPECT_TRUE(Counter->ReaderRunning());
  int second = 0;
  Counter->SetDataHandler([&](THidDevice&, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++second; });
  EXPECT_TRUE(Counter->ReaderRunning());
  Backend.QueueReport("counter", {1, 100});
  ASSERT_TRUE(Poster.RunUntil([&] { return second == 1; }, 10s));
  EXPECT_TRUE(Reports.empty());
  Counter->SetDataHandler(nullptr);
  EXPECT_FALSE(Counter->ReaderRunning());
  EXPECT_EQ(Backend.OpenCount(HidOpenMode::ReadOnly), 1);
}

TEST_F(ReaderTest, FailedReadIsReportedAndRetriedAfterAPause) {
  Backend.SetReadError("counter", EIO);
  Counter->SetSleepTime(50);
  std::vector<std::uint32_t> errors;
  Counter->SetDataErrorHandler([&](THidDevice& dev, std::uint32_t error) {
    EXPECT_EQ(std::this_thread::get_id(), MainThread);
    EXPECT_EQ(&dev, Counter.get());
    errors.push_back(error);
  });
  Counter->SetDataHandler(Recorder());
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Poster.RunUntil([&] { return errors.size() >= 3; }, 10s));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms) << "two pauses of 50 ms at least";
  EXPECT_EQ(errors.front(), static_cast<std::uint32_t>(EIO));
  // Healed: reads go on.
  Backend.SetReadError("counter", 0);
  Backend.QueueReport("counter", {1, 101});
  ASSERT_TRUE(Poster.RunUntil([&] { return Reports.size() == 1; }, 10s));
}

TEST_F(ReaderTest, StopCutsTheRetryPauseShort) {
  Backend.SetReadError("counter", EIO);
  Counter->SetSleepTime(10000);
  int errors = 0;
  Counter->SetDataErrorHandler([&](THidDevice&, std::uint32_t) { ++errors; });
  Counter->SetDataHandler(Recorder());
  ASSERT_TRUE(Poster.RunUntil([&] { return errors == 1; }, 10s));
  const auto start = std::chrono::steady_clock::now();
  Counter->SetDataHandler(nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_EQ(errors, 1);
}

TEST_F(ReaderTest, UnplugWhileReadingClosesTheHandleAndReadsCannotStartAgain) {
  Counter->SetSleepTime(20);
  std::vector<std::uint32_t> errors;
  Counter->SetDataErrorHandler([&](THidDevice&, std::uint32_t e) { errors.push_back(e); });
  Counter->SetDataHandler(Recorder());
  Backend.RemoveInterface("counter");
  Backend.Announce();
  EXPECT_FALSE(Counter->PluggedIn());
  EXPECT_TRUE(Counter->ReaderRunning()) << "a scan unplugs but does not stop the reader";
  ASSERT_TRUE(Poster.RunUntil([&] { return errors.size() >= 2; }, 10s));
  EXPECT_EQ(errors.front(), static_cast<std::uint32_t>(ENODEV));
  Counter.reset();
  EXPECT_EQ(Backend.OpenHandles(), 0);
  EXPECT_EQ(Controller->Count(), 1);
}

TEST_F(ReaderTest, HandlerMayStopItsOwnReader) {
  Backend.SetEndlessReports("counter", true);
  int calls = 0;
  Counter->SetDataHandler([&](THidDevice& dev, std::uint8_t, const std::uint8_t*, std::uint16_t) {
    ++calls;
    dev.SetDataHandler(nullptr);
    EXPECT_FALSE(dev.ReaderRunning());
  });
  ASSERT_TRUE(Poster.RunUntil([&] { return calls == 1; }, 10s));
  Poster.RunPending();
  EXPECT_EQ(calls, 1);
  // The retired reader ends once the handler has returned and is joined at the next notice.
  Backend.Announce();
  Counter->SetDataHandler(Recorder());
  ASSERT_TRUE(Poster.RunUntil([&] { return Reports.size() >= 2; }, 10s));
}

TEST_F(ReaderTest, HandlerMayCheckItsOwnDeviceIn) {
  Backend.SetEndlessReports("counter", true);
  THidDevice* old = Counter.get();
  int calls = 0;
  Counter->SetDataHandler([&](THidDevice&, std::uint8_t, const std::uint8_t*, std::uint16_t) {
    ++calls;
    Counter.reset();  // as a device change handled inside a nested loop would
  });
  ASSERT_TRUE(Poster.RunUntil([&] { return calls == 1; }, 10s));
  Poster.RunPending();
  EXPECT_EQ(calls, 1);
  EXPECT_NE(Controller->DeviceAt(1), old);
  EXPECT_FALSE(Controller->DeviceAt(1)->CheckedOut());
  Controller.reset();  // joins the retired reader
  EXPECT_EQ(Backend.OpenHandles(), 0);
}

// Devices lent and returned again and again while their readers stream reports: every report
// arrives once, in order, on the main thread, and nothing is left open.
TEST_F(ReaderTest, CheckOutAndInWhileStreaming) {
  Counter.reset();
  Backend.SetEndlessReports("counter", true);
  Backend.SetEndlessReports("keyboard", true);
  std::uint32_t last[2] = {0, 0};
  bool first[2] = {true, true};
  int delivered = 0;
  bool inside = false;
  auto handler = [&](THidDevice& dev, std::uint8_t, const std::uint8_t* data, std::uint16_t size) {
    EXPECT_FALSE(inside);
    EXPECT_EQ(std::this_thread::get_id(), MainThread);
    inside = true;
    ASSERT_EQ(size, 4);
    const int which = dev.PnPInfo().DeviceInstance() == "counter" ? 1 : 0;
    const std::uint32_t sequence = LoadU32Le(data);
    if (!first[which]) {
      EXPECT_GT(sequence, last[which]);
    }
    first[which] = false;
    last[which] = sequence;
    ++delivered;
    inside = false;
  };
  for (int round = 0; round < 60; ++round) {
    std::vector<std::unique_ptr<THidDevice>> lent;
    for (int i = 0; i < 2; ++i) lent.push_back(Controller->CheckOutDevice(i));
    for (auto& d : lent) d->SetDataHandler(handler);
    const int target = delivered + 1 + round % 7;
    ASSERT_TRUE(Poster.RunUntil([&] { return delivered >= target; }, 10s));
    if (round % 3 == 0) lent[1]->SetDataHandler(nullptr);
  }
  EXPECT_EQ(Backend.OpenHandles(), 0);
  EXPECT_EQ(Controller->NumCheckedInDevices(), 2);
  // Every report a reader took from the device was delivered, including those still waiting
  // when their reader was stopped.
  EXPECT_EQ(static_cast<std::uint64_t>(delivered),
            Backend.ReportsRead("counter") + Backend.ReportsRead("keyboard"));
}

}  // namespace
}  // namespace kvelt::hid::test
