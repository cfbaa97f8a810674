#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <vector>

#include "device/sim/SimulatedCounterModel.h"
#include "device/sim/SimulatedHidBackend.h"
#include "protocol/ByteOrder.h"
#include "protocol/ChannelFrame.h"
#include "protocol/ReportBuilders.h"
#include "protocol/Selector.h"
#include "tests/support/FakeSimClock.h"

namespace kvelt::hid::sim {
namespace {

constexpr auto kCycle = SimulatedCounter::kCycle;

// The output report SendReport would write for a request: report id, code, payload, zeros.
std::vector<std::uint8_t> Framed(const OutboundReport& request) {
  std::vector<std::uint8_t> report(SimulatedCounter::kReportLength, 0);
  report[0] = 1;
  report[1] = request.Code;
  std::copy(request.Payload.begin(), request.Payload.end(), report.begin() + 2);
  return report;
}

class SimulatedBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Writer = Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadWrite);
    Reader = Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadOnly);
    ASSERT_NE(Writer, nullptr);
    ASSERT_NE(Reader, nullptr);
  }

  std::vector<std::uint8_t> ReadReport() {
    std::vector<std::uint8_t> buffer(SimulatedCounter::kReportLength, 0xEE);
    const HidReadResult result = Reader->Read(buffer.data(), buffer.size());
    EXPECT_EQ(result.State, HidReadResult::Status::Report);
    EXPECT_EQ(result.Bytes, buffer.size());
    return buffer;
  }

  // Sends the request and returns the reply: the first report after it that is not a channel
  // frame (frames sent before the reply stay ahead of it, as on the real counter).
  std::vector<std::uint8_t> Exchange(const OutboundReport& request) {
    const std::vector<std::uint8_t> report = Framed(request);
    std::size_t written = 0;
    EXPECT_TRUE(Writer->Write(report.data(), report.size(), written));
    EXPECT_EQ(written, report.size());
    for (std::size_t skipped = 0; skipped <= SimulatedCounter::kHandleQueueCapacity; ++skipped) {
      std::vector<std::uint8_t> reply = ReadReport();
      if (reply[1] < 100 || reply[1] > 103) return reply;
    }
    ADD_FAILURE() << "no reply to code " << int{request.Code};
    return {};
  }

  std::shared_ptr<test::FakeSimClock> Clock = std::make_shared<test::FakeSimClock>();
  SimulatedHidBackend Backend{SimulatedHidBackend::Bus::WithKeyboard, SimulatedCounter::ReplyLoss::Never,
                              Clock};
  std::unique_ptr<HidHandle> Writer;
  std::unique_ptr<HidHandle> Reader;
};

TEST_F(SimulatedBackendTest, ListsTheKeyboardAndTheCounter) {
  const auto present = Backend.Enumerate();
  ASSERT_EQ(present.size(), 2u);
  EXPECT_EQ(present[0].ProductString, "Simulated keyboard");
  EXPECT_EQ(present[1].ProductString, "KVELT");
  EXPECT_EQ(present[1].VendorID, 0x1209);
  EXPECT_EQ(present[1].ProductID, 0x0001);
  EXPECT_EQ(present[1].InputReportByteLength, 65);
  EXPECT_EQ(present[1].OutputReportByteLength, 65);
  EXPECT_NE(present[0].Identity, present[1].Identity);
  EXPECT_EQ(Backend.MonitorFd(), -1);
}

TEST_F(SimulatedBackendTest, KeyboardOpensForMetadataOnly) {
  const HidInterfaceInfo keyboard = SimulatedHidBackend::KeyboardInterface();
  EXPECT_EQ(Backend.Open(keyboard, HidOpenMode::ReadWrite), nullptr);
  EXPECT_EQ(Backend.Open(keyboard, HidOpenMode::ReadOnly), nullptr);
  auto handle = Backend.Open(keyboard, HidOpenMode::MetadataOnly);
  ASSERT_NE(handle, nullptr);
  std::uint8_t buffer[8];
  EXPECT_EQ(handle->Read(buffer, sizeof buffer).State, HidReadResult::Status::Failed);
  std::size_t written = 5;
  EXPECT_FALSE(handle->Write(buffer, sizeof buffer, written));
  EXPECT_EQ(written, 0u);
}

// Each request, in this order, on one counter; every reply is the code, the layout of its
// code, and zeros up to the end of the report.
TEST_F(SimulatedBackendTest, AnswersEveryRequestWithItsCodeAndKeepsTheSettings) {
  OutputsFirstHalf first;
  first.Entries[0] = {1, EncodeSelector(1, 1), 100.0f};
  first.Entries[4] = {1, EncodeSelector(3, 0), -2.5f};
  OutputsSecondHalf second;
  second.Entries[2] = {EncodeSelector(2, 1), 7.25f, 1};
  const auto firstBytes = EncodeOutputsFirstHalf(first);
  const auto secondBytes = EncodeOutputsSecondHalf(second);
  auto withHalf = [](std::uint8_t code, const std::array<std::uint8_t, 30>& half) {
    std::vector<std::uint8_t> reply{code};
    reply.insert(reply.end(), half.begin(), half.end());
    return reply;
  };
  const std::vector<std::uint8_t> zeros30(30, 0);
  std::vector<std::uint8_t> emptyFirst{108}, emptySecond{113};
  emptyFirst.insert(emptyFirst.end(), zeros30.begin(), zeros30.end());
  emptySecond.insert(emptySecond.end(), zeros30.begin(), zeros30.end());

  struct Step {
    const char* Name;
    OutboundReport Request;
    std::vector<std::uint8_t> Reply;  // from the code byte on
  };
  const std::vector<Step> steps{
      {"default resolution", BuildGetResolution(1), {114, 1, 0xA0, 0x0F, 0, 0}},
      {"set resolution", BuildSetResolution(1, 2500), {104}},
      {"resolution kept", BuildGetResolution(1), {114, 1, 0x10, 0x27, 0, 0}},
      {"default coefficient", BuildGetCoefficient(2), {115, 2, 0x00, 0x00, 0x80, 0x3F}},
      {"set coefficient", BuildSetCoefficient(2, 2.5f), {105}},
      {"coefficient kept", BuildGetCoefficient(2), {115, 2, 0x00, 0x00, 0x20, 0x40}},
      {"default zero marker", BuildGetZeroMarker(3), {117, 3, 0}},
      {"set zero marker", BuildSetZeroMarker(3, 1), {116}},
      {"zero marker kept", BuildGetZeroMarker(3), {117, 3, 1}},
      {"first half empty", BuildReadOutputsFirst(), emptyFirst},
      {"write first half", BuildWriteOutputsFirst(first), {107}},
      {"first half kept", BuildReadOutputsFirst(), withHalf(108, firstBytes)},
      {"second half empty", BuildReadOutputsSecond(), emptySecond},
      {"write second half", BuildWriteOutputsSecond(second), {112}},
      {"second half kept", BuildReadOutputsSecond(), withHalf(113, secondBytes)},
      {"clear position", BuildClearPosition(0), {106}},
      {"modbus address", BuildSetModbusAddress(247), {109}},
      {"gate time", BuildSetGateTime(500), {110}},
      {"baud rate", BuildSetModbusBaudRate(3), {111}},
      {"channel outside 0..3", BuildGetResolution(7), {114, 7, 0, 0, 0, 0}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.Name);
    const std::vector<std::uint8_t> report = Exchange(step.Request);
    std::vector<std::uint8_t> expected(SimulatedCounter::kReportLength, 0);
    expected[0] = 1;
    std::copy(step.Reply.begin(), step.Reply.end(), expected.begin() + 1);
    EXPECT_EQ(report, expected);
  }

  Backend.Counter().InspectModel([](const SimulatedCounterModel& model) {
    EXPECT_EQ(model.ModbusAddress(), 247);
    EXPECT_EQ(model.GateTimeMs(), 500u);
    EXPECT_EQ(model.ModbusBaudRate(), 3);
    EXPECT_EQ(model.ResolutionWire(1), 10000u);
    EXPECT_FLOAT_EQ(model.Coefficient(2), 2.5f);
    EXPECT_EQ(model.ZeroMarker(3), 1);
  });
  // Every report written was recorded whole.
  const auto received = Backend.Counter().ReceivedReports();
  ASSERT_EQ(received.size(), steps.size());
  for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(received[i], Framed(steps[i].Request));
}

TEST_F(SimulatedBackendTest, SendsFramesUnaskedAndIgnoresWhatItDoesNotAnswer) {
  // A frame code and a report with another report id get no reply, but are recorded.
  std::vector<std::uint8_t> frameCode = Framed({100, {}});
  std::vector<std::uint8_t> otherId = Framed(BuildGetResolution(0));
  otherId[0] = 2;
  std::size_t written = 0;
  ASSERT_TRUE(Writer->Write(frameCode.data(), frameCode.size(), written));
  ASSERT_TRUE(Writer->Write(otherId.data(), otherId.size(), written));
  EXPECT_EQ(Backend.Counter().ReceivedReports().size(), 2u);

  Clock->Advance(2 * kCycle);
  std::vector<std::uint8_t> expectedCodes;
  std::vector<std::uint8_t> codes;
  for (int i = 0; i < 8; ++i) {
    const auto report = ReadReport();
    EXPECT_EQ(report[0], 1);
    codes.push_back(report[1]);
    expectedCodes.push_back(static_cast<std::uint8_t>(100 + i % 4));
    EXPECT_TRUE(std::all_of(report.begin() + 32, report.end(), [](std::uint8_t b) { return b == 0; }));
  }
  EXPECT_EQ(codes, expectedCodes);
}

TEST_F(SimulatedBackendTest, FramesCarryTheSettingsAndTurnAtTheChannelsSpeeds) {
  Exchange(BuildSetCoefficient(1, 2.0f));
  Exchange(BuildSetResolution(2, 1024));
  Exchange(BuildSetGateTime(250));
  Exchange(BuildSetZeroMarker(3, 1));
  Clock->Advance(kCycle);  // the first cycle, measured 10 ms after the start
  std::map<int, ChannelFrame> frames;
  for (int i = 0; i < 4; ++i) {
    const std::vector<std::uint8_t> report = ReadReport();
    const auto frame = ParseChannelFrame(report.data() + 1, report.size() - 1);
    ASSERT_TRUE(frame);
    frames[frame->Code - 100] = *frame;
  }
  ASSERT_EQ(frames.size(), 4u);
  const float expectedSpeed[4] = {0.5f, 2.0f, 1.5f, 2.0f};  // channel 2 has coefficient 2
  const float expectedCoefficient[4] = {1.0f, 2.0f, 1.0f, 1.0f};
  const std::uint16_t expectedResolution[4] = {4000, 4000, 4096, 4000};
  // Edges since the start (c x 0.005 turns) and within the 250 ms gate (c x 0.125 turns).
  const std::uint32_t expectedRaw1[4] = {20, 40, 61, 80};
  const std::uint32_t expectedRaw2[4] = {500, 1000, 1536, 2000};
  for (int c = 0; c < 4; ++c) {
    SCOPED_TRACE(c);
    EXPECT_FLOAT_EQ(frames[c].Speed, expectedSpeed[c]);
    EXPECT_FLOAT_EQ(frames[c].Coefficient, expectedCoefficient[c]);
    EXPECT_EQ(frames[c].ResolutionX4, expectedResolution[c]);
    EXPECT_EQ(frames[c].GateTimeMs, 250);
    EXPECT_EQ(frames[c].RawByte, c == 3 ? 1 : 0);
    EXPECT_EQ(frames[c].Raw1, expectedRaw1[c]);
    EXPECT_EQ(frames[c].Raw2, expectedRaw2[c]);
    // One cycle shares one moment: revolutions x coefficient, at c x 0.5 rev/s.
    EXPECT_FLOAT_EQ(frames[c].Position, expectedCoefficient[c] * 0.005f * static_cast<float>(c + 1));
  }
}

// A hundred cycles a second, each the four channels in order, measured at its own moment.
TEST_F(SimulatedBackendTest, AHundredCyclesASecondEachAtItsMoment) {
  for (int cycle = 1; cycle <= 100; ++cycle) {
    Clock->Advance(kCycle);
    for (int c = 0; c < 4; ++c) {
      const std::vector<std::uint8_t> report = ReadReport();
      const auto frame = ParseChannelFrame(report.data() + 1, report.size() - 1);
      ASSERT_TRUE(frame);
      ASSERT_EQ(frame->Code, 100 + c) << cycle;
      ASSERT_FLOAT_EQ(frame->Position, 0.005f * static_cast<float>((c + 1) * cycle)) << cycle;
    }
  }
}

TEST_F(SimulatedBackendTest, UnplugEndsOpenHandlesForGoodAndIsAnnounced) {
  int announcements = 0;
  Backend.SetChangeCallback([&] { ++announcements; });
  Backend.Unplug();
  Backend.Unplug();
  EXPECT_EQ(announcements, 1);
  EXPECT_EQ(Backend.Enumerate().size(), 1u);
  EXPECT_EQ(Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadOnly), nullptr);
  std::uint8_t buffer[65];
  EXPECT_EQ(Reader->Read(buffer, sizeof buffer).State, HidReadResult::Status::Gone);
  std::size_t written = 0;
  const auto request = Framed(BuildGetResolution(0));
  EXPECT_FALSE(Writer->Write(request.data(), request.size(), written));

  Backend.Plug();
  EXPECT_EQ(announcements, 2);
  EXPECT_EQ(Backend.Enumerate().size(), 2u);
  EXPECT_EQ(Reader->Read(buffer, sizeof buffer).State, HidReadResult::Status::Gone)
      << "a handle from before the unplug stays dead";
  auto fresh = Backend.Open(SimulatedHidBackend::CounterInterface(), HidOpenMode::ReadOnly);
  ASSERT_NE(fresh, nullptr);
  Clock->Advance(kCycle);
  EXPECT_EQ(fresh->Read(buffer, sizeof buffer).State, HidReadResult::Status::Report);
}

TEST_F(SimulatedBackendTest, StopEndsReadsOfThatHandleOnly) {
  Reader->RequestStop();
  Clock->Advance(kCycle);
  std::uint8_t buffer[65];
  EXPECT_EQ(Reader->Read(buffer, sizeof buffer).State, HidReadResult::Status::Stopped);
  EXPECT_EQ(Writer->Read(buffer, sizeof buffer).State, HidReadResult::Status::Report);
}

TEST_F(SimulatedBackendTest, ReadOnlyHandleCannotWriteAndOversizedReportsAreRefused) {
  const auto request = Framed(BuildGetResolution(0));
  std::size_t written = 0;
  EXPECT_FALSE(Reader->Write(request.data(), request.size(), written));
  std::vector<std::uint8_t> tooLong(66, 0);
  tooLong[0] = 1;
  EXPECT_FALSE(Writer->Write(tooLong.data(), tooLong.size(), written));
  EXPECT_TRUE(Backend.Counter().ReceivedReports().empty());
}

}  // namespace
}  // namespace kvelt::hid::sim
