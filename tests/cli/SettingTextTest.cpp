#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "cli/ExactNumberText.h"
#include "cli/JsonText.h"
#include "cli/OutputRowText.h"
#include "cli/SettingAssignment.h"
#include "config/LocaleNumber.h"
#include "config/OutputsFill.h"

namespace kvelt::cli {
namespace {

struct AssignmentCase {
  const char* Text;
  bool Valid;
  SettingKind Kind;
  int Index;
  const char* Value;
};

void PrintTo(const AssignmentCase& c, std::ostream* out) { *out << '"' << c.Text << '"'; }

class SettingAssignmentTest : public testing::TestWithParam<AssignmentCase> {};

TEST_P(SettingAssignmentTest, ParsesNameIndexAndValue) {
  const AssignmentCase& c = GetParam();
  std::string why;
  const auto setting = ParseSettingAssignment(c.Text, why);
  ASSERT_EQ(setting.has_value(), c.Valid) << c.Text << ": " << why;
  if (!c.Valid) {
    EXPECT_FALSE(why.empty());
    return;
  }
  EXPECT_EQ(setting->Kind, c.Kind);
  EXPECT_EQ(setting->Index, c.Index);
  EXPECT_EQ(setting->Value, c.Value);
  // What get prints under the name reads back as the same setting.
  const auto again =
      ParseSettingAssignment(SettingName(setting->Kind, setting->Index) + "=" + setting->Value, why);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->Index, c.Index);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingAssignmentTest,
    testing::Values(
        AssignmentCase{"resolution.1=2500", true, SettingKind::Resolution, 0, "2500"},
        AssignmentCase{"resolution=2500", true, SettingKind::Resolution, -1, "2500"},
        AssignmentCase{"coefficient.4=0,5", true, SettingKind::Coefficient, 3, "0,5"},
        AssignmentCase{"zero-marker.2=yes", true, SettingKind::ZeroMarker, 1, "yes"},
        AssignmentCase{"gate-time=100ms", true, SettingKind::GateTime, -1, "100ms"},
        AssignmentCase{"modbus-address=7", true, SettingKind::ModbusAddress, -1, "7"},
        AssignmentCase{"modbus-baud=38400", true, SettingKind::ModbusBaudRate, -1, "38400"},
        AssignmentCase{"output.5=a=b", true, SettingKind::Output, 4, "a=b"},
        AssignmentCase{"resolution.5=1", false, {}, 0, ""},
        AssignmentCase{"resolution.0=1", false, {}, 0, ""}, AssignmentCase{"output.6=x", false, {}, 0, ""},
        AssignmentCase{"output=x", false, {}, 0, ""}, AssignmentCase{"gate-time.1=10ms", false, {}, 0, ""},
        AssignmentCase{"speed=1", false, {}, 0, ""}, AssignmentCase{"resolution", false, {}, 0, ""},
        AssignmentCase{"resolution.12=1", false, {}, 0, ""}));

TEST(SettingNameTest, GetNamesWithoutValue) {
  std::string why;
  const auto outputs = ParseSettingName("outputs", why);
  ASSERT_TRUE(outputs.has_value());
  EXPECT_EQ(outputs->Kind, SettingKind::Output);
  EXPECT_EQ(outputs->Index, -1);
  EXPECT_FALSE(ParseSettingName("modbus-baud.2", why).has_value());
}

TEST(OutputRowTextTest, FormatThenParseGivesTheSameRow) {
  OutputRowFirstFill first{true, 3, 1, "12,5"};
  OutputRowSecondFill second{2, 0, "-7", 1};
  const std::string text = FormatOutputRow(first, second);
  EXPECT_EQ(text, "on:pos4:greater:12,5:or:less:-7:active");
  std::string why;
  const auto row = ParseOutputRow(text, why);
  ASSERT_TRUE(row.has_value()) << why;
  const OutputRow expected = RowFromFills(first, second);
  EXPECT_EQ(row->Enabled, expected.Enabled);
  EXPECT_EQ(row->Source, 3);
  EXPECT_EQ(row->Comparison, 1);
  EXPECT_EQ(row->Threshold, "12,5");
  EXPECT_EQ(row->Logic, 2);
  EXPECT_EQ(row->SecondComparison, 0);
  EXPECT_EQ(row->SecondThreshold, "-7");
  EXPECT_EQ(row->State, 1);
}

TEST(OutputRowTextTest, PositionsOutsideTheListsPrintAsQuestionMarksThatDoNotParse) {
  const std::string text =
      FormatOutputRow(OutputRowFirstFill{false, -1, 5, "0"}, OutputRowSecondFill{-1, -1, "0", -1});
  EXPECT_EQ(text, "off:?:?:0:?:?:0:?");
  std::string why;
  EXPECT_FALSE(ParseOutputRow(text, why).has_value());
}

TEST(OutputRowTextTest, WrongShapesAreRefusedWithAReason) {
  for (const char* text : {"", "on:pos1:greater:1:none:less:0", "on:pos1:greater:1:none:less:0:active:x",
                           "yes:pos1:greater:1:none:less:0:active", "on:pos0:greater:1:none:less:0:active",
                           "on:pos1:>:1:none:less:0:active", "on:pos1:greater:1:xor:less:0:active",
                           "on:pos1:greater:1:none:less:0:on"}) {
    std::string why;
    EXPECT_FALSE(ParseOutputRow(text, why).has_value()) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
}

class ExactNumberTextTest : public testing::TestWithParam<float> {};

TEST_P(ExactNumberTextTest, ReadsBackAsTheSameSingle) {
  for (const char* separator : {",", "."}) {
    const std::string text = ExactNumberText(GetParam(), 2, separator);
    const auto back = ParseLocaleReal(text, separator);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(ToSingle(*back).value_or(NAN), GetParam()) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Values, ExactNumberTextTest,
                         testing::Values(1.0f, 0.125f, 0.1f, 1.0f / 3.0f, -2.5e-7f, 123456.789f, 16777216.0f,
                                         1.0e-6f, 7.0e-9f, 3.0e12f));

TEST(ExactNumberTextTest, KeepsTheMinimumDecimalsWhereTheyAreEnough) {
  EXPECT_EQ(ExactNumberText(1.0f, 2, ","), "1,00");
  EXPECT_EQ(ExactNumberText(0.125f, 2, ","), "0,125");
  EXPECT_EQ(ExactNumberText(std::numeric_limits<float>::quiet_NaN(), 2, ","), "NAN");
}

TEST(JsonTextTest, EscapesAndNumbers) {
  EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(JsonString("Łódź"), "\"Łódź\"");
  // A device name in another encoding still gives valid JSON.
  EXPECT_EQ(JsonString("\xA3\xF3"
                       "d\x9F"),
            "\"\xEF\xBF\xBD\xEF\xBF\xBD"
            "d\xEF\xBF\xBD\"");
  EXPECT_EQ(JsonNumber(1.5, 2), "1.50");
  EXPECT_EQ(JsonNumber(-0.001, 2), "0.00");
  EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity(), 2), "null");
  EXPECT_EQ(JsonObject().Integer("a", 1).Bool("b", false).String("c", "x").Text(),
            "{\"a\":1,\"b\":false,\"c\":\"x\"}");
}

}  // namespace
}  // namespace kvelt::cli
