#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "protocol/ByteOrder.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes At(const Bytes& buffer, std::size_t offset, std::size_t count) {
  return Bytes(buffer.begin() + static_cast<std::ptrdiff_t>(offset),
               buffer.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

TEST(ByteOrderTest, StoresLeastSignificantByteFirstAtEveryOffset) {
  for (std::size_t offset = 0; offset < 4; ++offset) {
    Bytes buffer(offset + 4, 0xEE);
    StoreU32Le(buffer.data() + offset, 0x12345678u);
    EXPECT_EQ(At(buffer, offset, 4), (Bytes{0x78, 0x56, 0x34, 0x12})) << "offset " << offset;
    EXPECT_EQ(LoadU32Le(buffer.data() + offset), 0x12345678u);

    StoreU16Le(buffer.data() + offset, 0xA1B2);
    EXPECT_EQ(At(buffer, offset, 2), (Bytes{0xB2, 0xA1}));
    EXPECT_EQ(LoadU16Le(buffer.data() + offset), 0xA1B2);
  }
}

TEST(ByteOrderTest, HighBitsSurviveWithoutSignExtension) {
  const Bytes bytes{0xFF, 0xFE, 0xFD, 0xFC};
  EXPECT_EQ(LoadU32Le(bytes.data()), 0xFCFDFEFFu);
  EXPECT_EQ(LoadU16Le(bytes.data()), 0xFEFF);
}

struct FloatCase {
  float Value;
  std::array<std::uint8_t, 4> Wire;
};

class FloatWireTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FloatWireTest, EncodesAndDecodesTheIeeeSingle) {
  const FloatCase& c = GetParam();
  Bytes buffer(5, 0);
  StoreF32Le(buffer.data() + 1, c.Value);  // odd address on purpose
  EXPECT_EQ(At(buffer, 1, 4), Bytes(c.Wire.begin(), c.Wire.end()));
  EXPECT_EQ(std::bit_cast<std::uint32_t>(LoadF32Le(buffer.data() + 1)),
            std::bit_cast<std::uint32_t>(c.Value));
}

INSTANTIATE_TEST_SUITE_P(
    KnownSingles, FloatWireTest,
    ::testing::Values(FloatCase{100.0f, {0x00, 0x00, 0xC8, 0x42}}, FloatCase{1.0f, {0x00, 0x00, 0x80, 0x3F}},
                      FloatCase{1.5f, {0x00, 0x00, 0xC0, 0x3F}}, FloatCase{-2.5f, {0x00, 0x00, 0x20, 0xC0}},
                      FloatCase{-0.0f, {0x00, 0x00, 0x00, 0x80}},
                      FloatCase{std::numeric_limits<float>::infinity(), {0x00, 0x00, 0x80, 0x7F}},
                      FloatCase{std::numeric_limits<float>::denorm_min(), {0x01, 0x00, 0x00, 0x00}}));

TEST(ByteOrderTest, NanPayloadIsCarriedBitForBit) {
  // A signalling NaN with a payload: converting through arithmetic would quieten or lose it.
  const Bytes wire{0x01, 0x00, 0xA0, 0x7F};
  const float value = LoadF32Le(wire.data());
  EXPECT_TRUE(std::isnan(value));
  Bytes back(4, 0);
  StoreF32Le(back.data(), value);
  EXPECT_EQ(back, wire);
}

}  // namespace
}  // namespace kvelt
