#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

#include "config/OutputsFill.h"

namespace kvelt {
namespace {

struct FirstFillCase {
  OutputFirstEntry Entry;
  OutputRowFirstFill Expected;
};

class FirstFillTest : public testing::TestWithParam<FirstFillCase> {};

TEST_P(FirstFillTest, SplitsTheSelectorAndFormatsTheThreshold) {
  EXPECT_EQ(FillFromFirstEntry(GetParam().Entry, 2, ","), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FirstFillTest,
                         testing::Values(FirstFillCase{{1, 13, 100.0f}, {true, 3, 1, "100,00"}},
                                         FirstFillCase{{1, 0, 0.0f}, {true, 0, 0, "0"}},
                                         FirstFillCase{{0, 12, -2.5f}, {false, 2, 1, "-2,50"}},
                                         FirstFillCase{{2, 3, 0.0f}, {false, 3, 0, "0"}},
                                         FirstFillCase{{255, 4, 0.0f}, {false, -1, 0, "0"}},
                                         FirstFillCase{{1, 25, 0.0f}, {true, -1, 1, "0"}},
                                         FirstFillCase{{1, 0xFF, 0.0f}, {true, -1, 0, "0"}}));

struct SecondFillCase {
  OutputSecondEntry Entry;
  OutputRowSecondFill Expected;
};

class SecondFillTest : public testing::TestWithParam<SecondFillCase> {};

TEST_P(SecondFillTest, SplitsTheSelectorAndReadsTheStateSigned) {
  EXPECT_EQ(FillFromSecondEntry(GetParam().Entry, 1, ","), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SecondFillTest,
                         testing::Values(SecondFillCase{{12, 7.25f, 1}, {2, 1, "7,3", 1}},
                                         SecondFillCase{{0, 0.0f, 0}, {0, 0, "0", 0}},
                                         SecondFillCase{{3, 0.0f, 5}, {-1, 0, "0", -1}},
                                         SecondFillCase{{11, 0.0f, 0xFF}, {1, 1, "0", -1}}));

struct ThresholdCase {
  float Value;
  int Div;
  std::string_view Expected;
};

class ThresholdTextTest : public testing::TestWithParam<ThresholdCase> {};

TEST_P(ThresholdTextTest, ZeroIsPlainElseEighteenDigits) {
  const ThresholdCase& c = GetParam();
  EXPECT_EQ(ThresholdText(c.Value, c.Div, ","), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ThresholdTextTest,
                         testing::Values(ThresholdCase{0.0f, 4, "0"}, ThresholdCase{-0.0f, 2, "0"},
                                         ThresholdCase{2.75f, 0, "3"}, ThresholdCase{0.1f, 4, "0,1000"},
                                         ThresholdCase{1.5f, -1, "1,50"},
                                         // Eighteen digits: a seventeen-digit whole part stays in fixed form.
                                         ThresholdCase{1e17f, 0, "99999998430674944"},
                                         ThresholdCase{std::numeric_limits<float>::quiet_NaN(), 2, "NAN"}));

TEST(OutputsFillTest, WholeHalvesFillRowsInOrder) {
  OutputsFirstHalf first;
  OutputsSecondHalf second;
  for (int k = 0; k < kOutputRowCount; ++k) {
    first.Entries[k] = {1, static_cast<std::uint8_t>(k % 4), static_cast<float>(k)};
    second.Entries[k] = {static_cast<std::uint8_t>(k % 3), static_cast<float>(-k), 1};
  }
  const auto firstFills = FillRowsFromFirstHalf(first, 0, ",");
  const auto secondFills = FillRowsFromSecondHalf(second, 0, ",");
  for (int k = 0; k < kOutputRowCount; ++k) {
    EXPECT_EQ(firstFills[k], FillFromFirstEntry(first.Entries[k], 0, ",")) << k;
    EXPECT_EQ(secondFills[k], FillFromSecondEntry(second.Entries[k], 0, ",")) << k;
  }
  EXPECT_EQ(firstFills[4].Threshold, "4");
  EXPECT_EQ(secondFills[4].SecondThreshold, "-4");
}

}  // namespace
}  // namespace kvelt
