#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "protocol/ChannelFrame.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A frame with a different, recognisable value in every field, written out by hand.
Bytes HandWrittenFrame() {
  return Bytes{
      101,                     // code: channel 2
      0x9A,                    // RawByte
      0x64, 0x00,              // GateTimeMs 100
      0xA0, 0x0F,              // ResolutionX4 4000
      0x01, 0x02, 0x03, 0x04,  // Raw1
      0xF1, 0xF2, 0xF3, 0xF4,  // Raw2
      0x00, 0x00, 0x00, 0x80,  // Raw3
      0x00, 0x00, 0x48, 0x41,  // Position 12.5
      0x00, 0x00, 0xC0, 0x3F,  // Speed 1.5
      0x00, 0x00, 0x20, 0xC0,  // Coefficient -2.5
      0x15,                    // OutputState
  };
}

void ExpectHandWrittenValues(const ChannelFrame& frame) {
  EXPECT_EQ(frame.Code, 101);
  EXPECT_EQ(frame.RawByte, 0x9A);
  EXPECT_EQ(frame.GateTimeMs, 100);
  EXPECT_EQ(frame.ResolutionX4, 4000);
  EXPECT_EQ(frame.Raw1, 0x04030201u);
  EXPECT_EQ(frame.Raw2, 0xF4F3F2F1u);
  EXPECT_EQ(frame.Raw3, 0x80000000u);
  EXPECT_EQ(frame.Position, 12.5f);
  EXPECT_EQ(frame.Speed, 1.5f);
  EXPECT_EQ(frame.Coefficient, -2.5f);
  EXPECT_EQ(frame.OutputState, 0x15);
}

class ChannelFrameAlignmentTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ChannelFrameAlignmentTest, DecodesAtAnyBufferOffset) {
  const Bytes frame = HandWrittenFrame();
  Bytes buffer(GetParam(), 0xCC);
  buffer.insert(buffer.end(), frame.begin(), frame.end());
  const auto parsed = ParseChannelFrame(buffer.data() + GetParam(), frame.size());
  ASSERT_TRUE(parsed.has_value());
  ExpectHandWrittenValues(*parsed);
}

INSTANTIATE_TEST_SUITE_P(Offsets, ChannelFrameAlignmentTest, ::testing::Values(0u, 1u, 2u, 3u, 5u));

TEST(ChannelFrameTest, EncodeIsTheInverseOfParse) {
  const Bytes frame = HandWrittenFrame();
  const auto parsed = ParseChannelFrame(frame.data(), frame.size());
  ASSERT_TRUE(parsed.has_value());
  const auto encoded = EncodeChannelFrame(*parsed);
  EXPECT_EQ(Bytes(encoded.begin(), encoded.end()), frame);
}

TEST(ChannelFrameTest, BytesAfterTheLayoutAreIgnored) {
  Bytes report = HandWrittenFrame();
  report.resize(64, 0xEE);  // a full input report
  const auto parsed = ParseChannelFrame(report.data(), report.size());
  ASSERT_TRUE(parsed.has_value());
  ExpectHandWrittenValues(*parsed);
}

TEST(ChannelFrameTest, EveryShorterReportIsRejectedWithoutReadingPastIt) {
  const Bytes frame = HandWrittenFrame();
  for (std::size_t size = 0; size < kChannelFrameSize; ++size) {
    // An allocation of exactly `size` bytes, so an overread shows under AddressSanitizer.
    auto exact = std::make_unique<std::uint8_t[]>(size);
    std::copy(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(size), exact.get());
    EXPECT_FALSE(ParseChannelFrame(exact.get(), size).has_value()) << "size " << size;
  }
  EXPECT_FALSE(ParseChannelFrame(nullptr, 64).has_value());
}

TEST(ChannelFrameTest, OutputStateBitsNameOutputsOneToFive) {
  for (const std::uint8_t state : {std::uint8_t{0x15}, std::uint8_t{0xF5}}) {  // bits 5..7 change nothing
    std::vector<int> points;
    for (int output = 1; output <= kTransistorOutputCount; ++output) {
      points.push_back(OutputStateBit(state, output));
    }
    EXPECT_EQ(points, (std::vector<int>{1, 0, 1, 0, 1})) << int{state};
  }
  EXPECT_EQ(OutputStateBit(0xFF, 6), 0);
  EXPECT_EQ(OutputStateBit(0xFF, 0), 0);
}

}  // namespace
}  // namespace kvelt
