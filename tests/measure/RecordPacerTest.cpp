#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "measure/RecordPacer.h"

namespace kvelt {
namespace {

class RecordPacerPeriods : public ::testing::TestWithParam<int> {};

// A line is due on frames p, 2p, 3p ... of a steady period p (every frame for p = 0).
TEST_P(RecordPacerPeriods, BoundaryEveryPeriodFrames) {
  const int index = GetParam();
  const std::uint32_t period = SavePeriodFrames[static_cast<std::size_t>(index)];
  const std::uint32_t step = period == 0 ? 1 : period;
  const std::uint32_t frames = 3 * step;
  RecordPacer pacer;
  std::vector<std::uint32_t> boundaries;
  for (std::uint32_t frame = 1; frame <= frames; ++frame) {
    if (pacer.Tick(index)) {
      boundaries.push_back(frame);
      EXPECT_EQ(pacer.RecordFrameCounter(), 0u);
    } else {
      EXPECT_EQ(pacer.RecordFrameCounter(), frame % step);
    }
  }
  EXPECT_EQ(boundaries, (std::vector<std::uint32_t>{step, 2 * step, 3 * step}));
}

INSTANTIATE_TEST_SUITE_P(EveryEntry, RecordPacerPeriods, ::testing::Range(0, 9));

TEST(RecordPacer, PeriodTableMatchesTheListEntries) {
  EXPECT_EQ(SavePeriodFrames,
            (std::array<std::uint32_t, 9>{0, 10, 100, 1000, 3000, 6000, 60000, 180000, 360000}));
}

TEST(RecordPacer, StartsAtZero) { EXPECT_EQ(RecordPacer().RecordFrameCounter(), 0u); }

TEST(RecordPacer, LoweringThePeriodBelowTheCountMakesTheNextFrameABoundary) {
  RecordPacer pacer;
  for (int frame = 0; frame < 50; ++frame) {
    ASSERT_FALSE(pacer.Tick(2));  // "1 s": 100 frames
  }
  EXPECT_TRUE(pacer.Tick(1));  // "100 ms": 51 >= 10
  EXPECT_EQ(pacer.RecordFrameCounter(), 0u);
}

TEST(RecordPacer, RaisingThePeriodKeepsCounting) {
  RecordPacer pacer;
  for (int frame = 0; frame < 9; ++frame) {
    ASSERT_FALSE(pacer.Tick(1));
  }
  int frames = 9;
  while (!pacer.Tick(2)) {
    ++frames;
  }
  EXPECT_EQ(frames + 1, 100);
}

class RecordPacerNoSelection : public ::testing::TestWithParam<int> {};

// Without a valid entry frames still count, no line is ever due, and a later valid choice
// sees the whole count.
TEST_P(RecordPacerNoSelection, CountsButNeverEndsAPeriod) {
  RecordPacer pacer;
  for (std::uint32_t frame = 1; frame <= 25; ++frame) {
    EXPECT_FALSE(pacer.Tick(GetParam()));
    EXPECT_EQ(pacer.RecordFrameCounter(), frame);
  }
  EXPECT_TRUE(pacer.Tick(1));
}

INSTANTIATE_TEST_SUITE_P(OutsideTheTable, RecordPacerNoSelection,
                         ::testing::Values(-1, 9, 10, -100, 1000000));

}  // namespace
}  // namespace kvelt
