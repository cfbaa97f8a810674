#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/HidControllerClass.h"
#include "device/TaskQueuePoster.h"
#include "device/sim/SimulatedHidBackend.h"
#include "protocol/ByteOrder.h"
#include "protocol/ReportBuilders.h"
#include "tests/support/FakeSimClock.h"

namespace kvelt::hid::sim {
namespace {

using namespace std::chrono_literals;

// The layer driven the way the main window drives it: on every change check every held
// device in, list and check out every plugged-in device again, and read from the one whose
// product string is "KVELT". The counter's time moves only when the test moves it.
class SimulatedCounterLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Controller = std::make_unique<THidDeviceController>(Backend, Poster);
    Controller->OnEnumerate = [this](THidDevice& device, int idx) {
      Labels.push_back(device.ProductString());
      Held.push_back(Controller->CheckOutDevice(idx));
      return true;
    };
    Controller->OnDeviceChange = [this](THidDeviceController& controller) {
      ++Changes;
      Held.clear();
      Labels.clear();
      Current = nullptr;
      controller.EnumerateDevices();
      for (std::size_t i = 0; i < Held.size(); ++i) {
        if (Labels[i] != "KVELT" || !Held[i]) continue;
        Current = Held[i].get();
        if (Current->ReadWriteAccess()) {
          Current->SetDataHandler(
              [this](THidDevice&, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
                EXPECT_EQ(std::this_thread::get_id(), MainThread);
                EXPECT_EQ(id, 1);
                EXPECT_EQ(size, 64);
                Codes.push_back(data[0]);
                if (data[0] == 114) ResolutionReplies.push_back(LoadU32Le(data + 2));
              });
        }
      }
    };
    Poster.RunPending();
  }

  void TearDown() override {
    Held.clear();
    Controller.reset();
  }

  void Send(const OutboundReport& request) {
    ASSERT_NE(Current, nullptr);
    const THidCaps caps = Current->Caps();
    std::vector<std::uint8_t> report(caps.OutputReportByteLength, 0);
    report[0] = 1;
    report[1] = request.Code;
    std::copy(request.Payload.begin(), request.Payload.end(), report.begin() + 2);
    std::size_t written = 0;
    EXPECT_TRUE(Current->WriteFile(report.data(), report.size(), written));
  }

  // Moves the counter's time on cycle by cycle until `count` more frames have been handled.
  bool FramesArrive(std::size_t count) {
    const std::size_t target = Codes.size() + count;
    while (Codes.size() < target) {
      const std::size_t cycle = std::min(target, Codes.size() + 4);
      Clock->Advance(SimulatedCounter::kCycle);
      if (!Poster.RunUntil([&] { return Codes.size() >= cycle; }, 10s)) return false;
    }
    return true;
  }

  std::shared_ptr<test::FakeSimClock> Clock = std::make_shared<test::FakeSimClock>();
  SimulatedHidBackend Backend{SimulatedHidBackend::Bus::WithKeyboard, SimulatedCounter::ReplyLoss::Never,
                              Clock};
  TaskQueuePoster Poster;
  std::unique_ptr<THidDeviceController> Controller;
  std::vector<std::unique_ptr<THidDevice>> Held;
  std::vector<std::string> Labels;
  THidDevice* Current = nullptr;
  std::vector<std::uint8_t> Codes;
  std::vector<std::uint32_t> ResolutionReplies;
  int Changes = 0;
  std::thread::id MainThread = std::this_thread::get_id();
};

TEST_F(SimulatedCounterLayerTest, FindsTheCounterBesideAKeyboardAndReceivesFrames) {
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Labels, (std::vector<std::string>{"Simulated keyboard", "KVELT"}));
  ASSERT_EQ(Held.size(), 2u);
  EXPECT_FALSE(Held[0]->ReadWriteAccess());
  EXPECT_FALSE(Held[0]->ReaderRunning());
  ASSERT_EQ(Current, Held[1].get());
  EXPECT_TRUE(Current->ReaderRunning());
  EXPECT_EQ(Current->Caps().InputReportByteLength, 65);
  ASSERT_TRUE(FramesArrive(40));
  // Ten cycles of the four channels, in order.
  ASSERT_EQ(Codes.size(), 40u);
  for (std::size_t i = 0; i < Codes.size(); ++i) EXPECT_EQ(Codes[i], 100 + i % 4) << i;
}

TEST_F(SimulatedCounterLayerTest, RequestsWrittenThroughTheDeviceAreAnswered) {
  Send(BuildSetResolution(0, 1234));
  Send(BuildGetResolution(0));
  ASSERT_TRUE(Poster.RunUntil([&] { return !ResolutionReplies.empty(); }, 10s));
  EXPECT_EQ(ResolutionReplies.front(), 1234u * 4);
  const auto received = Backend.Counter().ReceivedReports();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].size(), 65u);
  EXPECT_EQ(received[1][1], 114);
}

TEST_F(SimulatedCounterLayerTest, FollowsTheCounterAcrossUnplugAndPlug) {
  ASSERT_TRUE(FramesArrive(8));
  Backend.Unplug();
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(Current, nullptr);
  EXPECT_EQ(Labels, (std::vector<std::string>{"Simulated keyboard"}));
  EXPECT_EQ(Controller->Count(), 1);
  Backend.Plug();
  EXPECT_EQ(Changes, 3);
  ASSERT_NE(Current, nullptr);
  ASSERT_TRUE(FramesArrive(8));
}

TEST_F(SimulatedCounterLayerTest, ManyPlugCyclesWhileStreaming) {
  for (int cycle = 0; cycle < 200; ++cycle) {
    ASSERT_TRUE(FramesArrive(1 + cycle % 5)) << cycle;
    Backend.Unplug();
    ASSERT_EQ(Current, nullptr);
    Poster.RunPending();
    Backend.Plug();
    ASSERT_NE(Current, nullptr);
  }
  EXPECT_EQ(Changes, 401);
  EXPECT_EQ(Controller->Count(), 2);
}

}  // namespace
}  // namespace kvelt::hid::sim
