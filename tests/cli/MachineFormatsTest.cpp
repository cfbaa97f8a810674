// Machine formats: what get prints and set reads in every locale, set - line by line, and the
// typed JSON of get, info and watch.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <ostream>

#include "ProgramRun.h"
#include "cli/SettingsInput.h"

namespace kvelt::cli {
namespace {

using test::Finished;
using test::RunToEnd;

struct SetCase {
  const char* Name;
  const char* Locale;
  QStringList Arguments;
  const char* Input;
  int Code;
  const char* Out;  // part of stdout
  const char* Err;  // part of stderr
};

void PrintTo(const SetCase& c, std::ostream* out) { *out << c.Name; }

class SetInputTest : public testing::TestWithParam<SetCase> {};

TEST_P(SetInputTest, TakesOrRefusesAndSaysWhere) {
  const SetCase& c = GetParam();
  const Finished run = RunToEnd(QStringList{"set", "--simulate"} + c.Arguments, c.Locale, c.Input);
  EXPECT_EQ(run.Code, c.Code) << run.Err.toStdString();
  EXPECT_TRUE(run.Out.contains(QString::fromUtf8(c.Out))) << run.Out.toStdString();
  EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Err))) << run.Err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetInputTest,
    testing::Values(
        SetCase{"PointInPolish", "pl_PL.UTF-8", {"coefficient.1=1.5"}, "", 0, "coefficient.1=1.5: ", ""},
        SetCase{"PolishCommaTakenAndSaid",
                "pl_PL.UTF-8",
                {"coefficient.1=1,5"},
                "",
                0,
                "coefficient.1=1,5: ",
                "1,5 read as 1.5"},
        SetCase{
            "CommaRefusedWhereItIsNoSeparator", "C.UTF-8", {"coefficient.1=1,5"}, "", 1, "", "coefficient"},
        SetCase{"ThresholdWithComma",
                "pl_PL.UTF-8",
                {"output.1=on:pos1:greater:2,5:none:less:0:active"},
                "",
                0,
                "output.1=",
                "2,5 read as 2.5"},
        SetCase{"CommentsAndBlankLinesSkipped",
                "C.UTF-8",
                {"-"},
                "# saved settings\n\n  resolution.1=500\r\n   # more\ngate-time=100ms\n",
                0,
                "resolution.1=500: ",
                ""},
        SetCase{"RefusalNamesTheLine",
                "C.UTF-8",
                {"-"},
                "resolution.1=5\n\n# x\nresolution.2=70000\n",
                1,
                "",
                "standard input line 4: refused resolution.2=70000"},
        SetCase{"ControlBytesEscaped",
                "C.UTF-8",
                {"-"},
                "resolution.1=1\x1b[2J\n",
                1,
                "",
                "line 1: refused resolution.1=1\\x1b[2J"}),
    [](const testing::TestParamInfo<SetCase>& info) { return std::string(info.param.Name); });

// A stream that never ends is refused after 1 MiB, before any of it is used.
TEST(SetInputTest, InputOverTheLimitIsRefused) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  const std::string line = "resolution.1=1000 " + std::string(4000, ' ') + "\n";
  for (std::size_t written = 0; written <= SettingsInput::kLimit; written += line.size())
    std::fputs(line.c_str(), stream);
  std::rewind(stream);
  SettingsInput input(stream);
  std::vector<std::string> words;
  SettingsInput::Status status = SettingsInput::Status::Line;
  while (status == SettingsInput::Status::Line) status = input.Next(words);
  EXPECT_EQ(status, SettingsInput::Status::TooLong);
  EXPECT_GT(input.LineNumber(), 200);
  std::fclose(stream);
}

// get under one locale, set under another: a cron job restores what a Polish session saved.
TEST(MachineFormatTest, SavedInPolishRestoredWithoutLocale) {
  const Finished get = RunToEnd({"get", "--simulate", "coefficient", "outputs"}, "pl_PL.UTF-8");
  ASSERT_EQ(get.Code, 0) << get.Err.toStdString();
  EXPECT_TRUE(get.Out.contains("coefficient.1=1.00\n")) << get.Out.toStdString();
  EXPECT_FALSE(get.Out.contains(',')) << get.Out.toStdString();
  const Finished set = RunToEnd({"set", "--simulate", "-"}, "C", get.Out.toUtf8());
  EXPECT_EQ(set.Code, 0) << set.Err.toStdString();
  EXPECT_EQ(set.Out.count('\n'), get.Out.count('\n'));
}

QJsonObject JsonLine(const QString& line) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
  return document.object();
}

TEST(MachineFormatTest, JsonIsTyped) {
  const Finished get = RunToEnd({"get", "--simulate", "--json", "resolution.1", "coefficient.1",
                                 "zero-marker.1", "gate-time", "output.1"},
                                "pl_PL.UTF-8");
  ASSERT_EQ(get.Code, 0) << get.Err.toStdString();
  const QStringList lines = get.Out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(JsonLine(lines[0])["value"].toInt(), 1000);
  EXPECT_EQ(JsonLine(lines[1])["value"].toDouble(), 1.0);
  EXPECT_TRUE(JsonLine(lines[2])["value"].isBool());
  EXPECT_EQ(JsonLine(lines[3])["value"].toInt(), 1000);
  const QJsonObject output = JsonLine(lines[4])["value"].toObject();
  EXPECT_TRUE(output["enabled"].isBool());
  EXPECT_TRUE(output["threshold"].isDouble());
  EXPECT_EQ(output["source"].toString(), "pos1");

  const Finished info = RunToEnd({"info", "--simulate", "--json", "3"}, "pl_PL.UTF-8");
  ASSERT_EQ(info.Code, 0) << info.Err.toStdString();
  const QJsonObject box = JsonLine(info.Out.trimmed());
  EXPECT_EQ(box["channel"].toInt(), 3);
  EXPECT_EQ(box["gate-time-ms"].toInt(), 1000);
  EXPECT_EQ(box["resolution"].toInt(), 1000);
  EXPECT_EQ(box["coefficient"].toDouble(), 1.0);

  // Full precision and a time stamp, whatever --decimals says.
  const Finished watch =
      RunToEnd({"watch", "--simulate", "--once", "--json", "--decimals", "0"}, "pl_PL.UTF-8");
  ASSERT_EQ(watch.Code, 0) << watch.Err.toStdString();
  const QJsonObject reading = JsonLine(watch.Out.trimmed());
  EXPECT_EQ(reading["ver1"].toDouble(), 0.5);
  EXPECT_TRUE(reading["time"].toString().contains('T'));
  EXPECT_TRUE(reading["out5"].isBool());
}

}  // namespace
}  // namespace kvelt::cli
