#include <gtest/gtest.h>

#include <cstdint>

#include "protocol/Resolution.h"
#include "protocol/Selector.h"

namespace kvelt {
namespace {

struct SelectorCase {
  std::uint8_t Byte;
  int Position;
  int Choice;
};

class SelectorDecodeTest : public ::testing::TestWithParam<SelectorCase> {};

TEST_P(SelectorDecodeTest, ReadsTheByteAsSigned) {
  const SelectorCase& c = GetParam();
  const SelectorValue value = DecodeSelector(c.Byte);
  EXPECT_EQ(value.Position, c.Position);
  EXPECT_EQ(value.Choice, c.Choice);
}

INSTANTIATE_TEST_SUITE_P(Bytes, SelectorDecodeTest,
                         ::testing::Values(SelectorCase{12, 2, 1},  // channel 3's position, "larger"
                                           SelectorCase{3, 3, 0},   // channel 4's position, "smaller"
                                           SelectorCase{0, 0, 0}, SelectorCase{9, 9, 0},
                                           SelectorCase{10, 0, 1}, SelectorCase{19, 9, 1},
                                           SelectorCase{0xFF, -1, 0},  // list without a selection
                                           SelectorCase{0xF6, -10, 0}, SelectorCase{0x80, -128, 0},
                                           SelectorCase{0x7F, 117, 1}));

TEST(SelectorTest, EncodesPositionPlusTenTimesChoice) {
  EXPECT_EQ(EncodeSelector(1, 1), 0x0B);
  EXPECT_EQ(EncodeSelector(3, 0), 3);
  EXPECT_EQ(EncodeSelector(2, 1), 12);
  EXPECT_EQ(EncodeSelector(-1, 0), 0xFF);
}

TEST(SelectorTest, EveryListPositionAndChoiceRoundTrips) {
  for (int choice = 0; choice <= 1; ++choice) {
    for (int position = 0; position <= 9; ++position) {
      const SelectorValue back = DecodeSelector(EncodeSelector(position, choice));
      EXPECT_EQ(back.Position, position);
      EXPECT_EQ(back.Choice, choice);
    }
  }
}

struct ResolutionCase {
  std::uint32_t Wire;
  std::uint32_t Shown;
};

class ResolutionFromWireTest : public ::testing::TestWithParam<ResolutionCase> {};

TEST_P(ResolutionFromWireTest, DividesByFourTruncating) {
  EXPECT_EQ(ResolutionFromWire(GetParam().Wire), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(Values, ResolutionFromWireTest,
                         ::testing::Values(ResolutionCase{4097, 1024}, ResolutionCase{4000, 1000},
                                           ResolutionCase{3, 0}, ResolutionCase{7, 1},
                                           ResolutionCase{0xFFFFFFFFu, 0x3FFFFFFFu}));

TEST(ResolutionTest, GoesOutTimesFour) {
  EXPECT_EQ(ResolutionToWire(1000), 4000u);
  EXPECT_EQ(ResolutionToWire(65535), 262140u);
  EXPECT_EQ(ResolutionFromWire(ResolutionToWire(65535)), 65535u);
}

}  // namespace
}  // namespace kvelt
