// The simulated counter keeps reports per open handle as the kernel's hidraw node does: at most
// 64, in the order sent, new ones dropped while the queue is full, lost replies not resent.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "device/sim/SimulatedCounterHandle.h"
#include "device/sim/SimulatedHidBackend.h"
#include "protocol/ReportBuilders.h"
#include "tests/support/FakeSimClock.h"

namespace kvelt::hid::sim {
namespace {

using namespace std::chrono_literals;

bool IsFrame(std::uint8_t code) { return code >= 100 && code <= 103; }

class SimulatedCounterQueue : public ::testing::Test {
 protected:
  std::uint8_t ReadCode(HidHandle& handle) {
    std::uint8_t buffer[SimulatedCounter::kReportLength] = {};
    const HidReadResult result = handle.Read(buffer, sizeof buffer);
    EXPECT_EQ(result.State, HidReadResult::Status::Report);
    return buffer[1];
  }
  void Request(std::uint8_t code, std::uint8_t channel) {
    std::vector<std::uint8_t> report(SimulatedCounter::kReportLength, 0);
    report[0] = 1;
    report[1] = code;
    report[2] = channel;
    std::size_t written = 0;
    ASSERT_TRUE(Writer->Write(report.data(), report.size(), written));
  }
  // Lets the bus run ahead of a reader that does not read.
  void FallBehind(std::chrono::milliseconds time) { Clock->Advance(time); }

  std::shared_ptr<test::FakeSimClock> Clock = std::make_shared<test::FakeSimClock>();
  SimulatedHidBackend Backend{SimulatedHidBackend::Bus::CounterOnly, SimulatedCounter::ReplyLoss::LikeHidraw,
                              Clock};
  std::unique_ptr<HidHandle> Writer =
      Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadWrite);
  std::unique_ptr<HidHandle> Reader =
      Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadOnly);
};

TEST_F(SimulatedCounterQueue, ReplyComesAfterTheFramesSentBeforeIt) {
  FallBehind(35ms);  // three cycles are due
  const std::uint8_t request = BuildGetResolution(2).Code;
  Request(request, 2);
  std::vector<std::uint8_t> before;
  for (std::uint8_t code = ReadCode(*Reader); code != request; code = ReadCode(*Reader)) {
    ASSERT_TRUE(IsFrame(code)) << int{code};
    before.push_back(code);
    ASSERT_LE(before.size(), SimulatedCounter::kHandleQueueCapacity);
  }
  ASSERT_EQ(before.size(), 12u) << "frames due before the request are not overtaken by its reply";
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i], 100 + i % 4) << i;
}

TEST_F(SimulatedCounterQueue, ReaderThatFallsBehindKeepsTheOldestAndLosesTheReply) {
  FallBehind(250ms);  // 100 frames: more than the queue holds
  const auto& reader = dynamic_cast<const SimulatedCounterHandle&>(*Reader);
  EXPECT_EQ(reader.DroppedReports(), 100u - SimulatedCounter::kHandleQueueCapacity)
      << "the frames that found the queue full";
  const std::uint8_t request = BuildGetResolution(0).Code;
  Request(request, 0);
  EXPECT_EQ(reader.DroppedReports(), 101u - SimulatedCounter::kHandleQueueCapacity)
      << "the reply found the queue full too";

  // The 64 queued reports are whole cycles of frames from the start of the wait.
  for (std::size_t i = 0; i < SimulatedCounter::kHandleQueueCapacity; ++i) {
    ASSERT_EQ(ReadCode(*Reader), 100 + i % 4) << i;
  }
  // What comes next is sent afresh; the lost reply is not among it.
  FallBehind(30ms);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(ReadCode(*Reader), 100 + i % 4);

  // A reply the reader has room for arrives.
  Request(request, 0);
  std::uint8_t code = 0;
  for (std::size_t i = 0; i <= SimulatedCounter::kHandleQueueCapacity && code != request; ++i)
    code = ReadCode(*Reader);
  EXPECT_EQ(code, request);
}

TEST_F(SimulatedCounterQueue, EveryHandleHasItsOwnQueue) {
  auto second = Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadOnly);
  ASSERT_NE(second, nullptr);
  const std::uint8_t request = BuildGetResolution(1).Code;
  Request(request, 1);
  // Both readers see the reply, each in its own order of arrival.
  for (HidHandle* handle : {Reader.get(), second.get()}) {
    std::uint8_t code = 0;
    for (std::size_t i = 0; i <= SimulatedCounter::kHandleQueueCapacity && code != request; ++i)
      code = ReadCode(*handle);
    EXPECT_EQ(code, request);
  }
  // A handle opened later gets nothing sent before it was opened.
  Request(request, 1);
  auto late = Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadOnly);
  ASSERT_NE(late, nullptr);
  FallBehind(20ms);
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(IsFrame(ReadCode(*late)));
  // Closing a handle leaves the others alone.
  second.reset();
  std::uint8_t code = 0;
  for (std::size_t i = 0; i <= SimulatedCounter::kHandleQueueCapacity && code != request; ++i)
    code = ReadCode(*Reader);
  EXPECT_EQ(code, request);
}

// The program's own simulator keeps replies however far behind the reader is, frames not.
TEST(SimulatedCounterQueueKeepingReplies, FullQueueDropsFramesButTakesTheReply) {
  const auto clock = std::make_shared<test::FakeSimClock>();
  SimulatedHidBackend backend(SimulatedHidBackend::Bus::CounterOnly, SimulatedCounter::ReplyLoss::Never,
                              clock);
  auto writer = backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadWrite);
  auto reader = backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadOnly);
  clock->Advance(250ms);
  std::vector<std::uint8_t> request(SimulatedCounter::kReportLength, 0);
  request[0] = 1;
  request[1] = BuildGetResolution(0).Code;
  std::size_t written = 0;
  ASSERT_TRUE(writer->Write(request.data(), request.size(), written));
  std::uint8_t buffer[SimulatedCounter::kReportLength] = {};
  for (std::size_t i = 0; i < SimulatedCounter::kHandleQueueCapacity; ++i) {
    ASSERT_EQ(reader->Read(buffer, sizeof buffer).State, HidReadResult::Status::Report);
    ASSERT_TRUE(IsFrame(buffer[1])) << "frames sent before the reply stay ahead of it";
  }
  ASSERT_EQ(reader->Read(buffer, sizeof buffer).State, HidReadResult::Status::Report);
  EXPECT_EQ(buffer[1], request[1]);
}

TEST(SimulatedBus, CounterCanBeTheOnlyDevice) {
  SimulatedHidBackend alone(SimulatedHidBackend::Bus::CounterOnly);
  const auto present = alone.Enumerate();
  ASSERT_EQ(present.size(), 1u);
  EXPECT_EQ(present[0].ProductString, "KVELT");
  for (const auto mode : {HidOpenMode::ReadWrite, HidOpenMode::ReadOnly, HidOpenMode::MetadataOnly}) {
    EXPECT_EQ(alone.Open(SimulatedHidBackend::KeyboardInterface(), mode), nullptr);
  }
  alone.Unplug();
  EXPECT_TRUE(alone.Enumerate().empty());

  SimulatedHidBackend withKeyboard;
  ASSERT_EQ(withKeyboard.Enumerate().size(), 2u);
  EXPECT_NE(withKeyboard.Open(SimulatedHidBackend::KeyboardInterface(), HidOpenMode::MetadataOnly), nullptr);
}

}  // namespace
}  // namespace kvelt::hid::sim
