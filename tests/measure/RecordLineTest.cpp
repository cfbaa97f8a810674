#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "measure/RecordLine.h"

namespace kvelt {
namespace {

class ClockCalls {
 public:
  std::function<std::string()> Date(std::string text) {
    return [this, text] {
      calls_.push_back("date");
      return text;
    };
  }
  std::function<std::string()> Time(std::string text) {
    return [this, text] {
      calls_.push_back("time");
      return text;
    };
  }
  const std::vector<std::string>& Calls() const { return calls_; }

 private:
  std::vector<std::string> calls_;
};

ChannelReadingArray DistinctReadings() {
  ChannelReadingArray readings{};
  for (int channel = 0; channel < 4; ++channel) {
    readings[static_cast<std::size_t>(channel)].Position = static_cast<float>(channel + 1) + 0.25f;
    readings[static_cast<std::size_t>(channel)].Speed = -static_cast<float>(10 * (channel + 1)) - 0.5f;
  }
  return readings;
}

RecordColumns AllColumns() {
  RecordColumns columns;
  columns.Date = true;
  columns.Time = true;
  columns.Position = {true, true, true, true};
  columns.Speed = {true, true, true, true};
  return columns;
}

TEST(ComposeRecordLine, FirstPositionAndFourthSpeed) {
  RecordColumns columns;
  columns.Position[0] = true;
  columns.Speed[3] = true;
  ChannelReadingArray readings{};
  readings[0].Position = 1.5f;
  readings[3].Speed = -2.0f;
  readings[1].Position = 77.0f;  // not ticked: must not show
  EXPECT_EQ(ComposeRecordLine(columns, readings, 2, ",", nullptr, nullptr), "1,50;-2,00;\r\n");
}

TEST(ComposeRecordLine, NoColumnGivesAnEmptyLineWithoutReadingTheClock) {
  ClockCalls clock;
  EXPECT_EQ(ComposeRecordLine(RecordColumns{}, DistinctReadings(), 2, ",", clock.Date("2014-02-27"),
                              clock.Time("14:05:09")),
            "\r\n");
  EXPECT_TRUE(clock.Calls().empty());
}

TEST(ComposeRecordLine, FieldsPairPositionAndSpeedPerChannel) {
  ClockCalls clock;
  EXPECT_EQ(ComposeRecordLine(AllColumns(), DistinctReadings(), 1, ",", clock.Date("2014-02-27"),
                              clock.Time("14:05:09")),
            "2014:02:27;14:05:09;1,3;-10,5;2,3;-20,5;3,3;-30,5;4,3;-40,5;\r\n");
  EXPECT_EQ(clock.Calls(), (std::vector<std::string>{"date", "time"}));
}

struct DateCase {
  const char* Formatted;
  const char* Field;
};

class RecordLineDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(RecordLineDate, EveryDashBecomesAColon) {
  RecordColumns columns;
  columns.Date = true;
  ClockCalls clock;
  EXPECT_EQ(ComposeRecordLine(columns, {}, 2, ",", clock.Date(GetParam().Formatted), clock.Time("unused")),
            std::string(GetParam().Field) + ";\r\n");
  EXPECT_EQ(clock.Calls(), (std::vector<std::string>{"date"}));
}

INSTANTIATE_TEST_SUITE_P(ShortDateFormats, RecordLineDate,
                         ::testing::Values(DateCase{"2014-02-27", "2014:02:27"},
                                           DateCase{"27.02.2014", "27.02.2014"},
                                           DateCase{"2/27/14", "2/27/14"}, DateCase{"--", "::"},
                                           DateCase{"", ""}));

TEST(ComposeRecordLine, TimeAloneReadsOnlyTheTimeAndKeepsItsDashes) {
  RecordColumns columns;
  columns.Time = true;
  ClockCalls clock;
  EXPECT_EQ(ComposeRecordLine(columns, {}, 0, ",", clock.Date("2014-02-27"), clock.Time("14-05-09")),
            "14-05-09;\r\n");
  EXPECT_EQ(clock.Calls(), (std::vector<std::string>{"time"}));
}

TEST(ComposeRecordLine, ValuesThatCannotBeFormattedGiveDashes) {
  // A decimal count outside 0..18 (no selection of the decimals list) cannot be formatted.
  ClockCalls clock;
  const std::string dashes = "---;---;---;---;---;---;---;---;";
  EXPECT_EQ(ComposeRecordLine(AllColumns(), DistinctReadings(), -1, ",", clock.Date("2014-02-27"),
                              clock.Time("00:00:01")),
            "2014:02:27;00:00:01;" + dashes + "\r\n");
  EXPECT_EQ(ComposeRecordLine(AllColumns(), DistinctReadings(), 19, ",", clock.Date("d"), clock.Time("t")),
            "d;t;" + dashes + "\r\n");
}

TEST(ComposeRecordLine, ValuesLookLikeTheReadouts) {
  RecordColumns columns;
  columns.Position = {true, true, true, false};
  columns.Speed = {true, false, false, false};
  ChannelReadingArray readings{};
  readings[0].Position = 1e16f;
  readings[0].Speed = std::numeric_limits<float>::quiet_NaN();
  readings[1].Position = -std::numeric_limits<float>::infinity();
  readings[2].Position = -0.004f;
  EXPECT_EQ(ComposeRecordLine(columns, readings, 2, ".", nullptr, nullptr),
            "1.00000002725642E16;NAN;INF;0.00;\r\n");
  EXPECT_EQ(ComposeRecordLine(columns, readings, 4, ",", nullptr, nullptr),
            "1,00000002725642E0016;NAN;INF;-0,0040;\r\n");
}

}  // namespace
}  // namespace kvelt
