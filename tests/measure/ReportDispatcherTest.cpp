#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "measure/ChannelReading.h"
#include "measure/ReportDispatcher.h"
#include "protocol/ByteOrder.h"
#include "protocol/ChannelFrame.h"
#include "protocol/OutputsConfig.h"
#include "tests/measure/RecordingHandlers.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Log = std::vector<std::string>;

Bytes Frame(std::uint8_t code, float position, float speed, std::uint8_t outputState = 0) {
  ChannelFrame frame;
  frame.Code = code;
  frame.GateTimeMs = 100;
  frame.ResolutionX4 = 4000;
  frame.Position = position;
  frame.Speed = speed;
  frame.Coefficient = 1.0f;
  frame.OutputState = outputState;
  const auto bytes = EncodeChannelFrame(frame);
  return Bytes(bytes.begin(), bytes.end());
}

bool SameBits(const ChannelReading& a, const ChannelReading& b) {
  return a.RawByte == b.RawByte && a.GateTimeMs == b.GateTimeMs && a.ResolutionX4 == b.ResolutionX4 &&
         a.Raw1 == b.Raw1 && a.Raw2 == b.Raw2 && a.Raw3 == b.Raw3 &&
         std::memcmp(&a.Position, &b.Position, sizeof(float)) == 0 &&
         std::memcmp(&a.Speed, &b.Speed, sizeof(float)) == 0 &&
         std::memcmp(&a.Coefficient, &b.Coefficient, sizeof(float)) == 0;
}

class ReportDispatcherTest : public ::testing::Test {
 protected:
  void Dispatch(const Bytes& report) { dispatcher.Dispatch(report.data(), report.size()); }

  // Readings that are not zero, so a stray write shows.
  void Prefill() {
    for (std::size_t c = 0; c < readings.size(); ++c) {
      readings[c].Position = 10.0f + static_cast<float>(c);
      readings[c].Raw2 = 0xABCD0000u + static_cast<std::uint32_t>(c);
    }
    before = readings;
  }

  void ExpectReadingsUntouched() {
    for (std::size_t c = 0; c < readings.size(); ++c) {
      EXPECT_TRUE(SameBits(readings[c], before[c])) << "channel " << c;
    }
  }

  ChannelReadingArray readings{};
  ChannelReadingArray before{};
  testing::RecordingHandlers handlers{readings};
  ReportDispatcher dispatcher{readings, handlers};
};

TEST_F(ReportDispatcherTest, ChannelFourFrameRunsAllSixStepsInOrder) {
  handlers.Chart = true;
  Dispatch(Frame(103, 4.0f, 2.0f, 0x15));
  EXPECT_EQ(handlers.Log,
            (Log{"Refresh 3", "ChartPoints 3", "ChartTimeStep", "RecordingTick", "OutputPoints 21"}));
  // Step 1 came before step 2: the refresh saw the new values.
  EXPECT_EQ(handlers.RefreshedPositions, (std::vector<float>{4.0f}));
  EXPECT_EQ(readings[3].Speed, 2.0f);
}

TEST_F(ReportDispatcherTest, RecordingTickThatFailsEndsTheHandling) {
  handlers.Chart = true;
  handlers.RecordingContinues = false;
  Dispatch(Frame(103, 4.0f, 2.0f, 0x15));
  EXPECT_EQ(handlers.Log, (Log{"Refresh 3", "ChartPoints 3", "ChartTimeStep", "RecordingTick"}));
  EXPECT_EQ(readings[3].Position, 4.0f);  // the reading stays stored
}

TEST_F(ReportDispatcherTest, RecordingTicksWhetherOrNotTheChartRuns) {
  handlers.Chart = false;
  Dispatch(Frame(103, 1.0f, 1.0f, 0x1F));
  EXPECT_EQ(handlers.Log, (Log{"Refresh 3", "RecordingTick"}));
}

TEST_F(ReportDispatcherTest, OutputStateIsPassedOnWhole) {
  handlers.Chart = true;
  Dispatch(Frame(103, 0, 0, 0xF5));  // the unused bits 5..7 are the chart's to ignore
  EXPECT_EQ(handlers.Log.back(), "OutputPoints 245");
}

class ChannelOneToThreeTest : public ReportDispatcherTest, public ::testing::WithParamInterface<int> {};

TEST_P(ChannelOneToThreeTest, StoresRefreshesAndChartsButNeverPaces) {
  const int channel = GetParam();
  Prefill();
  handlers.Chart = true;
  Dispatch(Frame(static_cast<std::uint8_t>(100 + channel), -7.5f, 3.0f, 0xFF));
  EXPECT_EQ(handlers.Log,
            (Log{"Refresh " + std::to_string(channel), "ChartPoints " + std::to_string(channel)}));
  for (int c = 0; c < 4; ++c) {
    if (c == channel) {
      EXPECT_EQ(readings[static_cast<std::size_t>(c)].Position, -7.5f);
      EXPECT_EQ(readings[static_cast<std::size_t>(c)].Speed, 3.0f);
    } else {
      EXPECT_TRUE(SameBits(readings[static_cast<std::size_t>(c)], before[static_cast<std::size_t>(c)])) << c;
    }
  }
  handlers.Chart = false;
  handlers.Log.clear();
  Dispatch(Frame(static_cast<std::uint8_t>(100 + channel), 1.0f, 1.0f));
  EXPECT_EQ(handlers.Log, (Log{"Refresh " + std::to_string(channel)}));
}

INSTANTIATE_TEST_SUITE_P(Channels, ChannelOneToThreeTest, ::testing::Values(0, 1, 2));

TEST_F(ReportDispatcherTest, UnitIsReadAtEveryFrameAndNeverRescalesStoredSpeeds) {
  handlers.Unit = 0;
  Dispatch(Frame(101, 0, 1.5f));
  EXPECT_EQ(readings[1].Speed, 1.5f);
  handlers.Unit = 1;
  Dispatch(Frame(100, 0, 1.5f));
  EXPECT_EQ(readings[0].Speed, 90.0f);
  EXPECT_EQ(readings[1].Speed, 1.5f);  // stored with the unit of its own arrival
  Dispatch(Frame(101, 0, 1.5f));
  EXPECT_EQ(readings[1].Speed, 90.0f);
  EXPECT_EQ(handlers.RefreshedSpeeds, (std::vector<float>{1.5f, 90.0f, 90.0f}));
}

TEST_F(ReportDispatcherTest, DecodesFramesFromUnalignedBuffers) {
  const Bytes frame = Frame(102, 123.456f, -0.5f);
  for (std::size_t offset : {1u, 2u, 3u}) {
    Bytes buffer(offset, 0);
    buffer.insert(buffer.end(), frame.begin(), frame.end());
    readings = {};
    dispatcher.Dispatch(buffer.data() + offset, frame.size());
    EXPECT_EQ(readings[2].Position, 123.456f) << offset;
    EXPECT_EQ(readings[2].Speed, -0.5f) << offset;
    EXPECT_EQ(readings[2].ResolutionX4, 4000) << offset;
  }
}

TEST_F(ReportDispatcherTest, FullLengthInputReportIsHandledLikeTheBareFrame) {
  Bytes report = Frame(100, 5.0f, 6.0f);
  report.resize(64, 0xEE);
  Dispatch(report);
  EXPECT_EQ(readings[0].Position, 5.0f);
  EXPECT_EQ(handlers.Log, (Log{"Refresh 0"}));
}

TEST_F(ReportDispatcherTest, CodesOutsideTheCatalogueChangeNothing) {
  Prefill();
  handlers.Chart = true;
  for (const int code : {0, 1, 99, 118, 200, 255}) {
    Bytes report = Frame(103, 1.0f, 1.0f, 0x1F);
    report[0] = static_cast<std::uint8_t>(code);
    report.resize(64, 1);
    Dispatch(report);
  }
  EXPECT_TRUE(handlers.Log.empty());
  ExpectReadingsUntouched();
  dispatcher.Dispatch(nullptr, 0);
  EXPECT_TRUE(handlers.Log.empty());
}

struct LayoutCase {
  std::uint8_t Code;
  std::size_t Needed;  // bytes from the code on
  std::string Call;    // first call made once the report is long enough
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << int{c.Code}; }

class ReportLengthTest : public ReportDispatcherTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ReportLengthTest, ShortReportsAreIgnoredAndFullOnesHandled) {
  const LayoutCase& c = GetParam();
  Prefill();
  handlers.Chart = true;
  for (std::size_t size = 0; size < c.Needed; ++size) {
    // Exactly `size` bytes on the heap: a read past the report shows under AddressSanitizer.
    auto exact = std::make_unique<std::uint8_t[]>(size == 0 ? 1 : size);
    if (size > 0) {
      exact[0] = c.Code;
      for (std::size_t i = 1; i < size; ++i) exact[i] = 0x41;
    }
    dispatcher.Dispatch(exact.get(), size);
    ASSERT_TRUE(handlers.Log.empty())
        << "code " << int{c.Code} << " size " << size << ": " << handlers.Log.front();
  }
  ExpectReadingsUntouched();

  auto exact = std::make_unique<std::uint8_t[]>(c.Needed);
  exact[0] = c.Code;
  for (std::size_t i = 1; i < c.Needed; ++i) exact[i] = 0x41;
  dispatcher.Dispatch(exact.get(), c.Needed);
  ASSERT_FALSE(handlers.Log.empty());
  EXPECT_EQ(handlers.Log.front(), c.Call);
}

INSTANTIATE_TEST_SUITE_P(EveryCode, ReportLengthTest,
                         ::testing::Values(LayoutCase{100, 31, "Refresh 0"}, LayoutCase{101, 31, "Refresh 1"},
                                           LayoutCase{102, 31, "Refresh 2"}, LayoutCase{103, 31, "Refresh 3"},
                                           LayoutCase{104, 1, "104"}, LayoutCase{105, 1, "105"},
                                           LayoutCase{106, 1, "106"}, LayoutCase{107, 1, "107"},
                                           LayoutCase{108, 31, "108"}, LayoutCase{109, 1, "109"},
                                           LayoutCase{110, 1, "110"}, LayoutCase{111, 1, "111"},
                                           LayoutCase{112, 1, "112"}, LayoutCase{113, 31, "113"},
                                           LayoutCase{114, 6, "114"}, LayoutCase{115, 6, "115"},
                                           LayoutCase{116, 1, "116"}, LayoutCase{117, 3, "117"}));

TEST_F(ReportDispatcherTest, AcknowledgementsCallOnlyTheirOwnHandler) {
  for (std::uint8_t code = 104; code <= 117; ++code) {
    handlers.Log.clear();
    Bytes report(64, 0);
    report[0] = code;
    Dispatch(report);
    EXPECT_EQ(handlers.Log, (Log{std::to_string(code)}));
  }
}

TEST_F(ReportDispatcherTest, RepliesCarryTheirDecodedContent) {
  Dispatch(Bytes{114, 2, 0x01, 0x10, 0x00, 0x00});  // 4097 on the wire
  Dispatch(Bytes{115, 7, 0x00, 0x00, 0xC0, 0x3F});  // out-of-range channel passed on
  Dispatch(Bytes{117, 1, 0xFF});
  ASSERT_EQ(handlers.Resolutions.size(), 1u);
  EXPECT_EQ(handlers.Resolutions[0].Channel, 2);
  EXPECT_EQ(handlers.Resolutions[0].Resolution, 1024u);
  ASSERT_EQ(handlers.Coefficients.size(), 1u);
  EXPECT_EQ(handlers.Coefficients[0].Channel, 7);
  EXPECT_EQ(handlers.Coefficients[0].Coefficient, 1.5f);
  ASSERT_EQ(handlers.ZeroMarkers.size(), 1u);
  EXPECT_EQ(handlers.ZeroMarkers[0].Channel, 1);
  EXPECT_EQ(handlers.ZeroMarkers[0].Position, -1);

  OutputsFirstHalf first;
  first.Entries[0] = {1, 0x0B, 100.0f};
  const auto firstBytes = EncodeOutputsFirstHalf(first);
  Bytes report{108};
  report.insert(report.end(), firstBytes.begin(), firstBytes.end());
  Dispatch(report);
  ASSERT_EQ(handlers.FirstHalves.size(), 1u);
  EXPECT_EQ(handlers.FirstHalves[0].Entries[0].Selector, 0x0B);
  EXPECT_EQ(handlers.FirstHalves[0].Entries[0].Threshold, 100.0f);

  OutputsSecondHalf second;
  second.Entries[4] = {12, -3.0f, 1};
  const auto secondBytes = EncodeOutputsSecondHalf(second);
  report = {113};
  report.insert(report.end(), secondBytes.begin(), secondBytes.end());
  Dispatch(report);
  ASSERT_EQ(handlers.SecondHalves.size(), 1u);
  EXPECT_EQ(handlers.SecondHalves[0].Entries[4].Selector, 12);
  EXPECT_EQ(handlers.SecondHalves[0].Entries[4].SecondThreshold, -3.0f);
  EXPECT_EQ(handlers.SecondHalves[0].Entries[4].State, 1);
  ExpectReadingsUntouched();  // replies never touch the readings (both zero here)
}

}  // namespace
}  // namespace kvelt
