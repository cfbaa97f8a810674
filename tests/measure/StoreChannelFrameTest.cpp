#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "measure/ChannelReading.h"
#include "measure/StoreChannelFrame.h"
#include "protocol/ChannelFrame.h"

namespace kvelt {
namespace {

ChannelFrame SampleFrame(float speed) {
  ChannelFrame frame;
  frame.Code = 101;
  frame.RawByte = 0xA5;
  frame.GateTimeMs = 1000;
  frame.ResolutionX4 = 0xFFFC;
  frame.Raw1 = 0x11223344u;
  frame.Raw2 = 0xDEADBEEFu;
  frame.Raw3 = 7;
  frame.Position = -12.25f;
  frame.Speed = speed;
  frame.Coefficient = 0.001f;
  frame.OutputState = 0x1F;
  return frame;
}

// The frame bytes placed at `offset` in a larger buffer.
std::vector<std::uint8_t> Placed(const ChannelFrame& frame, std::size_t offset) {
  const auto bytes = EncodeChannelFrame(frame);
  std::vector<std::uint8_t> buffer(offset, 0x77);
  buffer.insert(buffer.end(), bytes.begin(), bytes.end());
  return buffer;
}

class StoreAlignmentTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(StoreAlignmentTest, CopiesEveryFieldFromItsOffset) {
  const ChannelFrame frame = SampleFrame(3.0f);
  const auto buffer = Placed(frame, GetParam());
  ChannelReading reading;
  StoreChannelFrame(reading, buffer.data() + GetParam() + 1, 0);
  EXPECT_EQ(reading.RawByte, frame.RawByte);
  EXPECT_EQ(reading.GateTimeMs, frame.GateTimeMs);
  EXPECT_EQ(reading.ResolutionX4, frame.ResolutionX4);
  EXPECT_EQ(reading.Raw1, frame.Raw1);
  EXPECT_EQ(reading.OutputState, frame.OutputState & 0x1F);
  EXPECT_EQ(reading.Raw2, frame.Raw2);
  EXPECT_EQ(reading.Raw3, frame.Raw3);
  EXPECT_EQ(reading.Position, frame.Position);
  EXPECT_EQ(reading.Speed, frame.Speed);
  EXPECT_EQ(reading.Coefficient, frame.Coefficient);
}

INSTANTIATE_TEST_SUITE_P(BufferOffsets, StoreAlignmentTest, ::testing::Values(0u, 1u, 2u, 3u));

struct UnitCase {
  int Unit;
  float Received;
  float Stored;
};

class UnitScalingTest : public ::testing::TestWithParam<UnitCase> {};

TEST_P(UnitScalingTest, PerMinuteUnitsStoreSixtyTimesTheSpeed) {
  const UnitCase& c = GetParam();
  const auto buffer = Placed(SampleFrame(c.Received), 0);
  ChannelReading reading;
  StoreChannelFrame(reading, buffer.data() + 1, c.Unit);
  EXPECT_EQ(reading.Speed, c.Stored) << "unit " << c.Unit;
  EXPECT_EQ(reading.Position, -12.25f);  // positions are never scaled
}

constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(Units, UnitScalingTest,
                         ::testing::Values(UnitCase{0, 1.5f, 1.5f}, UnitCase{1, 1.5f, 90.0f},
                                           UnitCase{2, 1.5f, 1.5f}, UnitCase{3, 1.5f, 90.0f},
                                           UnitCase{kNoUnitSelection, 1.5f, 1.5f},
                                           UnitCase{1, -2.25f, -135.0f}, UnitCase{3, 0.1f, 6.0f},
                                           // The product is rounded to a single: it overflows to infinity.
                                           UnitCase{1, kMax, kInf}, UnitCase{0, kMax, kMax},
                                           UnitCase{3, -kInf, -kInf}));

TEST(UnitScalingTest, NanStaysNan) {
  for (const int unit : {0, 1, 2, 3, -1}) {
    EXPECT_TRUE(std::isnan(ScaleSpeedToUnit(std::numeric_limits<float>::quiet_NaN(), unit))) << unit;
  }
}

TEST(ChannelReadingTest, ReadingsStartAllZero) {
  const ChannelReadingArray readings{};
  for (const ChannelReading& r : readings) {
    EXPECT_EQ(r.RawByte, 0);
    EXPECT_EQ(r.GateTimeMs, 0);
    EXPECT_EQ(r.ResolutionX4, 0);
    EXPECT_EQ(r.Raw1 | r.Raw2 | r.Raw3, 0u);
    EXPECT_EQ(r.Position, 0.0f);
    EXPECT_EQ(r.Speed, 0.0f);
    EXPECT_EQ(r.Coefficient, 0.0f);
  }
}

}  // namespace
}  // namespace kvelt
