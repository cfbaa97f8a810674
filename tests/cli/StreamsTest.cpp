// Streams: recording lines in their formats and to pipes, FIFOs and the standard output; watch
// ending on an output it cannot write.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <ostream>

#include "ProgramRun.h"
#include "cli/RecordColumnsText.h"
#include "cli/RecordLineComposer.h"
#include "measure/qt/LocaleRecordLine.h"
#include "measure/qt/RecordClock.h"

namespace kvelt::cli {
namespace {

using test::Executable;
using test::Finished;
using test::RunToEnd;

ChannelReadingArray SomeReadings() {
  ChannelReadingArray readings{};
  for (std::size_t channel = 0; channel < readings.size(); ++channel) {
    readings[channel].Position = 1.25f * static_cast<float>(channel + 1);
    readings[channel].Speed = -0.1f * static_cast<float>(channel + 1);
  }
  return readings;
}

struct LineCase {
  const char* Name;
  RecordFormat Format;
  TimestampForm Timestamp;
  const char* Columns;
  const char* Header;
  const char* Line;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.Name; }

class RecordLineTest : public testing::TestWithParam<LineCase> {};

// At 2026-01-02 03:04:05.678 UTC, outputs 1 and 3 on, date "2026-01-02" and time "03,04".
TEST_P(RecordLineTest, TheLayoutGivesItsLine) {
  const LineCase& c = GetParam();
  setenv("TZ", "UTC", 1);
  tzset();
  std::string why;
  RecordLayout layout;
  layout.Format = c.Format;
  layout.Timestamp = c.Timestamp;
  layout.Columns = *ParseRecordColumns(c.Columns, why);
  layout.DecimalSeparator = ",";
  const RecordLineComposer composer(
      layout, [] { return std::string("2026-01-02"); }, [] { return std::string("03,04"); });
  const auto now = std::chrono::system_clock::time_point(std::chrono::milliseconds(1767323045678LL));
  EXPECT_EQ(composer.Header(), c.Header);
  EXPECT_EQ(composer.Line(SomeReadings(), 0b00101, now), c.Line);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RecordLineTest,
    testing::Values(
        LineCase{"WindowInTheOrderGiven", RecordFormat::Window, TimestampForm::None,
                 "ver4,pos1,out1,out2,date", "ver4;pos1;out1;out2;date;\r\n",
                 "-0,40;1,25;1;0;2026:01:02;\r\n"},
        LineCase{"CsvQuotesWhatHoldsAComma", RecordFormat::Csv, TimestampForm::Iso, "time,pos2,ver1,out3",
                 "timestamp,time,pos2,ver1,out3\n", "2026-01-02T03:04:05.678+00:00,\"03,04\",2.5,-0.1,1\n"},
        LineCase{
            "NdjsonTyped", RecordFormat::Ndjson, TimestampForm::EpochMs, "pos4,out5,out1,date", "",
            "{\"time\":1767323045678,\"pos4\":5,\"out5\":false,\"out1\":true,\"date\":\"2026-01-02\"}\n"}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.Name); });

// The default columns in the window format are the window's own line, byte for byte.
TEST(RecordLineTest, WindowFormatIsTheWindowsLine) {
  const RecordClock clock;
  RecordLayout layout;
  layout.Columns = AllValueColumns();
  layout.Columns.insert(layout.Columns.begin(),
                        {{RecordColumn::Kind::Date, 0}, {RecordColumn::Kind::Time, 0}});
  layout.DecimalSeparator = ",";
  const RecordLineComposer composer(
      layout, [] { return std::string("10-12-2026"); }, [] { return std::string("12:00:00"); });
  RecordColumns all = ColumnSet(layout.Columns);
  const std::string window = ComposeRecordLine(
      all, SomeReadings(), 2, ",", [] { return std::string("10-12-2026"); },
      [] { return std::string("12:00:00"); });
  EXPECT_EQ(composer.Line(SomeReadings(), 0, std::chrono::system_clock::now()), window);
}

// Standard output, a pipe named as /dev/stdout and a FIFO get whole lines as they are made; a
// reader that goes away ends the run normally (exit 0).
class StreamTargetTest : public testing::TestWithParam<const char*> {};

TEST_P(StreamTargetTest, LinesReachTheReader) {
  QTemporaryDir folder;
  const QString fifo = folder.filePath("fifo");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QProcess pipeline;
  pipeline.setProcessEnvironment(test::ScriptEnvironment());
  // pipefail: the pipeline's status is the recorder's; the FIFO's reader reads five lines and goes.
  const QString record = "\"$0\" record %1 --simulate --period 10ms --format ndjson --columns pos1";
  const QString script = QString(GetParam()) == "fifo"
                             ? record.arg("\"$1\"") + " & head -n 5 \"$1\"; wait $!"
                             : "set -o pipefail; " + record.arg(GetParam()) + " | head -n 5";
  pipeline.start("bash", {"-c", script, Executable(), fifo});
  ASSERT_TRUE(pipeline.waitForFinished(20000));
  EXPECT_EQ(pipeline.exitCode(), 0) << pipeline.readAllStandardError().toStdString();
  const QStringList lines =
      QString::fromUtf8(pipeline.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  for (const QString& line : lines) {
    EXPECT_TRUE(QRegularExpression("^\\{\"pos1\":[-0-9.e]+\\}$").match(line).hasMatch())
        << line.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, StreamTargetTest, testing::Values("-", "/dev/stdout", "fifo"));

TEST(StreamTest, RecordToStandardOutputWithHeaderAndTimestamp) {
  const Finished run = RunToEnd({"record", "-", "--simulate", "--lines", "3", "--format", "csv", "--header",
                                 "--timestamp", "iso", "--columns", "ver4,pos1"},
                                "fa_IR.UTF-8");
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  const QStringList lines = run.Out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], "timestamp,ver4,pos1");
  const QRegularExpression shape(
      "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d,2,[0-9.]+$");
  for (qsizetype i = 1; i < lines.size(); ++i)
    EXPECT_TRUE(shape.match(lines[i]).hasMatch()) << lines[i].toStdString();
}

TEST(StreamTest, WatchEndsWithExitFiveWhenItsOutputFails) {
  for (const QStringList& extra : {QStringList{}, QStringList{"--json"}}) {
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(Executable(), QStringList{"watch", "--simulate"} + extra);
    ASSERT_TRUE(process.waitForFinished(10000)) << "watch ran on with no output";
    EXPECT_EQ(process.exitCode(), 5);
    EXPECT_TRUE(process.readAllStandardError().contains("cannot write the standard output"));
  }
}

}  // namespace
}  // namespace kvelt::cli
