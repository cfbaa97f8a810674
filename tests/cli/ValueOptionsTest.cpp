#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "cli/RecordColumnsText.h"
#include "cli/ValueOptions.h"

namespace kvelt::cli {
namespace {

using std::chrono::milliseconds;

struct DurationCase {
  const char* Text;
  std::optional<long long> Ms;
};

void PrintTo(const DurationCase& c, std::ostream* out) { *out << '"' << c.Text << '"'; }

class DurationTest : public testing::TestWithParam<DurationCase> {};

TEST_P(DurationTest, ReadsTheUnitsAndRefusesTheRest) {
  const auto parsed = ParseDuration(GetParam().Text);
  if (GetParam().Ms) {
    ASSERT_TRUE(parsed.has_value()) << GetParam().Text;
    EXPECT_EQ(parsed->count(), *GetParam().Ms) << GetParam().Text;
  } else {
    EXPECT_FALSE(parsed.has_value()) << GetParam().Text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DurationTest,
    testing::Values(DurationCase{"10ms", 10}, DurationCase{"2s", 2000}, DurationCase{"2", 2000},
                    DurationCase{"1.5min", 90000}, DurationCase{"0,5s", 500}, DurationCase{"1h", 3600000},
                    DurationCase{"30 min", 1800000},  // "min" is not read as "ms" or "s"
                    DurationCase{"", std::nullopt}, DurationCase{"s", std::nullopt},
                    DurationCase{"-1s", std::nullopt}, DurationCase{"1e3s", std::nullopt},
                    DurationCase{"1.2.3s", std::nullopt}, DurationCase{".5s", std::nullopt},
                    DurationCase{"5d", std::nullopt}, DurationCase{"100000000h", std::nullopt},
                    // At and past the longest, a year of 366 days, and past what an int of ms holds.
                    DurationCase{"8784h", 31622400000}, DurationCase{"8784.001h", std::nullopt},
                    DurationCase{"4294970296ms", 4294970296}, DurationCase{"597h", 2149200000}));

struct PeriodCase {
  const char* Text;
  int Position;  // -1: refused
};

void PrintTo(const PeriodCase& c, std::ostream* out) { *out << '"' << c.Text << '"'; }

class RecordPeriodTest : public testing::TestWithParam<PeriodCase> {};

TEST_P(RecordPeriodTest, NamesAPositionOfThePeriodList) {
  const auto position = ParseRecordPeriod(GetParam().Text);
  EXPECT_EQ(position.value_or(-1), GetParam().Position) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Texts, RecordPeriodTest,
                         testing::Values(PeriodCase{"10ms", 0}, PeriodCase{"100ms", 1}, PeriodCase{"0.1s", 1},
                                         PeriodCase{"1s", 2}, PeriodCase{"10s", 3}, PeriodCase{"30s", 4},
                                         PeriodCase{"1min", 5}, PeriodCase{"60s", 5}, PeriodCase{"10min", 6},
                                         PeriodCase{"30min", 7}, PeriodCase{"1h", 8}, PeriodCase{"20ms", -1},
                                         PeriodCase{"2h", -1}, PeriodCase{"0", -1}));

TEST(RecordPeriodTest, ListNamesMatchTheWindowsList) {
  EXPECT_EQ(RecordPeriodName(0), "10 ms");
  EXPECT_EQ(RecordPeriodName(8), "1 h");
  EXPECT_EQ(RecordPeriodName(9), "");
}

TEST(UnitTest, EnglishPolishBracketedAndPositions) {
  for (const auto& [text, unit] :
       {std::pair{"rev/s", 0}, {"obr/min", 1}, {"[mm/s]", 2}, {"mm/min", 3}, {"3", 3}}) {
    EXPECT_EQ(ParseUnit(text).value_or(-1), unit) << text;
  }
  for (const char* text : {"", "4", "rpm", "[rev/s", "REV/S"}) {
    EXPECT_FALSE(ParseUnit(text).has_value()) << text;
  }
  EXPECT_EQ(UnitName(1), "rev/min");
  EXPECT_EQ(UnitName(4), "");
}

TEST(DecimalsTest, OnlyTheListsZeroToFour) {
  EXPECT_EQ(ParseDecimals("0"), 0);
  EXPECT_EQ(ParseDecimals("4"), 4);
  for (const char* text : {"5", "-1", "", "2.0", "12"}) {
    EXPECT_FALSE(ParseDecimals(text).has_value()) << text;
  }
}

TEST(CountTest, PositiveWholeNumbers) {
  EXPECT_EQ(ParsePositiveCount("1"), 1);
  EXPECT_EQ(ParsePositiveCount("250"), 250);
  for (const char* text : {"0", "-3", "", "1.5", "3x", "99999999999999999999"}) {
    EXPECT_FALSE(ParsePositiveCount(text).has_value()) << text;
  }
}

TEST(RecordColumnsTest, NamesKeepTheOrderGiven) {
  std::string why;
  for (const auto& [list, order] : {std::pair{"ver4,time,pos1,out5", "ver4 time pos1 out5 "},
                                    {"date,all", "date pos1 ver1 pos2 ver2 pos3 ver3 pos4 ver4 "}}) {
    const auto columns = ParseRecordColumns(list, why);
    ASSERT_TRUE(columns.has_value()) << why;
    std::string names;
    for (const RecordColumn& column : *columns) names += ColumnName(column) + " ";
    EXPECT_EQ(names, order);
  }
}

TEST(RecordColumnsTest, UnknownOrEmptyNamesAreRefused) {
  for (const char* text :
       {"", "pos5", "pos1,", "speed1", "pos1,,ver1", "POS1", "out6", "pos1,pos1", "all,ver3"}) {
    std::string why;
    EXPECT_FALSE(ParseRecordColumns(text, why).has_value()) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
}

}  // namespace
}  // namespace kvelt::cli
