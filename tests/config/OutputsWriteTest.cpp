#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "config/OutputsConfigExchange.h"
#include "config/OutputsWrite.h"
#include "protocol/OutputsConfig.h"
#include "tests/config/ReportBytes.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Entry(const std::array<std::uint8_t, kOutputsHalfSize>& half, int row) {
  return Bytes(half.begin() + 6 * row, half.begin() + 6 * row + 6);
}

OutputRow Ticked(std::string threshold, int logic = 0, std::string secondThreshold = {}) {
  OutputRow row;
  row.Enabled = true;
  row.Threshold = std::move(threshold);
  row.Logic = logic;
  row.SecondThreshold = std::move(secondThreshold);
  return row;
}

TEST(OutputsWriteTest, FirstOutputAboveOneHundredOnPositionTwo) {
  OutputRows rows{};
  rows[0] = Ticked("100");
  rows[0].Source = 1;      // "Pozycja [2]"
  rows[0].Comparison = 1;  // "większa"
  const OutputsWrite write = BuildOutputsWrite(rows, ",");
  ASSERT_TRUE(write.Ok());
  const auto first = EncodeOutputsFirstHalf(write.First);
  EXPECT_EQ(Entry(first, 0), (Bytes{0x01, 0x0B, 0x00, 0x00, 0xC8, 0x42}));
  for (int row = 1; row < kOutputRowCount; ++row) {
    EXPECT_EQ(Entry(first, row), Bytes(6, 0)) << row;
  }
}

TEST(OutputsWriteTest, RowsThatAreOffCarryTheirListsButNoThresholds) {
  OutputRows rows{};
  for (int k = 0; k < kOutputRowCount; ++k) {
    rows[k] = OutputRow{false, 3, 1, "not a number", 2, 1, "also not", k % 2};
  }
  const OutputsWrite write = BuildOutputsWrite(rows, ",");
  ASSERT_TRUE(write.Ok());
  const auto first = EncodeOutputsFirstHalf(write.First);
  const auto second = EncodeOutputsSecondHalf(write.Second);
  for (int k = 0; k < kOutputRowCount; ++k) {
    EXPECT_EQ(Entry(first, k), (Bytes{0, 13, 0, 0, 0, 0})) << k;
    EXPECT_EQ(Entry(second, k), (Bytes{12, 0, 0, 0, 0, static_cast<std::uint8_t>(k % 2)})) << k;
  }
}

TEST(OutputsWriteTest, LogicNoneSendsZeroSecondThresholdWithoutLookingAtIt) {
  OutputRows rows{};
  rows[1] = Ticked("2,5", 0, "garbage");
  rows[1].SecondComparison = 1;
  rows[2] = Ticked("-1", 1, "7,5");
  const OutputsWrite write = BuildOutputsWrite(rows, ",");
  ASSERT_TRUE(write.Ok());
  EXPECT_EQ(write.First.Entries[1].Threshold, 2.5f);
  EXPECT_EQ(write.Second.Entries[1].Selector, 10);
  EXPECT_EQ(write.Second.Entries[1].SecondThreshold, 0.0f);
  EXPECT_EQ(write.First.Entries[2].Threshold, -1.0f);
  EXPECT_EQ(write.Second.Entries[2].Selector, 1);
  EXPECT_EQ(write.Second.Entries[2].SecondThreshold, 7.5f);
}

struct RefusalCase {
  const char* Name;
  OutputRows Rows;
  std::vector<RefusedBox> Expected;
};

class OutputsRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(OutputsRefusalTest, MarksEveryRefusedBoxAndBuildsNothing) {
  const OutputsWrite write = BuildOutputsWrite(GetParam().Rows, ",");
  EXPECT_EQ(write.Refused, GetParam().Expected);
  EXPECT_FALSE(write.Ok());
  EXPECT_EQ(EncodeOutputsFirstHalf(write.First), (std::array<std::uint8_t, 30>{}));
  EXPECT_EQ(EncodeOutputsSecondHalf(write.Second), (std::array<std::uint8_t, 30>{}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputsRefusalTest,
    testing::Values(
        RefusalCase{"ThirdNAndFifthM",
                    {Ticked("1"), OutputRow{}, Ticked("1.5"), OutputRow{}, Ticked("2", 2, "x")},
                    {{2, OutputBox::Threshold}, {4, OutputBox::SecondThreshold}}},
        RefusalCase{"AllNBeforeAnyM",
                    {Ticked("1", 1, ""), Ticked(""), OutputRow{}, Ticked("1 0"), OutputRow{}},
                    {{1, OutputBox::Threshold}, {3, OutputBox::Threshold}, {0, OutputBox::SecondThreshold}}},
        // A logic list with no selection shows M, so M is checked.
        RefusalCase{"NoLogicSelection",
                    {Ticked("1", -1, "?"), OutputRow{}, OutputRow{}, OutputRow{}, OutputRow{}},
                    {{0, OutputBox::SecondThreshold}}},
        RefusalCase{"BeyondASingle",
                    {Ticked("1e39"), OutputRow{}, OutputRow{}, OutputRow{}, OutputRow{}},
                    {{0, OutputBox::Threshold}}}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.Name; });

TEST(OutputsConfigExchangeTest, SecondHalfIsTheLastValidatedOne) {
  OutputsConfigExchange exchange;
  // A 107 before any write sends thirty zero bytes.
  Bytes zeroSecond(31, 0);
  zeroSecond[0] = 112;
  EXPECT_EQ(test::ReportBytes(exchange.SecondHalfRequest()), zeroSecond);

  OutputRows rows{};
  rows[4] = Ticked("1", 2, "3");
  rows[4].State = 1;
  const auto request = exchange.BeginWrite(BuildOutputsWrite(rows, ","));
  ASSERT_TRUE(request);
  EXPECT_EQ(request->Code, 107);
  EXPECT_EQ(request->Payload.size(), 30u);
  const Bytes kept = test::ReportBytes(exchange.SecondHalfRequest());
  EXPECT_EQ(Bytes(kept.begin() + 25, kept.end()), (Bytes{2, 0x00, 0x00, 0x40, 0x40, 1}));

  rows[0] = Ticked("bad");
  EXPECT_FALSE(exchange.BeginWrite(BuildOutputsWrite(rows, ",")));
  EXPECT_EQ(test::ReportBytes(exchange.SecondHalfRequest()), kept);
}

}  // namespace
}  // namespace kvelt
