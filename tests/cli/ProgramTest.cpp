// The kvelt executable itself, as a script runs it: no display, the simulated counter.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <ostream>
#include <string>

#include "ProgramRun.h"

namespace {

using kvelt::cli::test::Executable;
using kvelt::cli::test::Finished;
using kvelt::cli::test::RunToEnd;
using kvelt::cli::test::ScriptEnvironment;

QStringList FileLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QString text = QString::fromUtf8(file.readAll());
  if (!text.isEmpty()) {
    EXPECT_TRUE(text.endsWith("\r\n")) << "the last line is torn";
  }
  QStringList lines = text.split("\r\n");
  lines.removeLast();
  return lines;
}

class HelpTest : public testing::TestWithParam<const char*> {};

TEST_P(HelpTest, EveryCommandDescribesItselfWithoutADisplay) {
  const Finished run = RunToEnd({GetParam(), "--help"});
  EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_TRUE(run.Out.contains("Usage: kvelt " + QString(GetParam()))) << run.Out.toStdString();
  EXPECT_TRUE(run.Out.contains("--simulate"));
}

INSTANTIATE_TEST_SUITE_P(Commands, HelpTest,
                         testing::Values("list", "watch", "record", "get", "set", "info", "zero", "publish"));

TEST(ProgramTest, VersionAndOverview) {
  EXPECT_EQ(RunToEnd({"--version"}).Out, QString("kvelt %1\n").arg(KVELT_PROGRAM_VERSION));
  const Finished help = RunToEnd({"--help"});
  EXPECT_EQ(help.Code, 0);
  EXPECT_TRUE(help.Out.contains("4 no reply in time"));
}

// Two seconds at 10 ms: about 200 lines, every one of the chosen columns, in the C locale's
// notation, the file created on the way.
TEST(RecordProgramTest, TwoSecondsAtTenMilliseconds) {
  QTemporaryDir folder;
  const QString path = folder.filePath("run.csv");
  const Finished run = RunToEnd({"record", path, "--simulate", "--period", "10ms", "--for", "2s", "--time",
                                 "--columns", "pos1,ver1,ver4"});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_TRUE(run.Err.isEmpty()) << "no progress line when stderr is not a terminal";
  const QStringList lines = FileLines(path);
  // One line per channel-4 frame, 100 frames a second; the simulated counter catches up on
  // frames a busy machine kept it from sending on time.
  EXPECT_GE(lines.size(), 120);  // a loaded machine (a sanitizer build) may drop some frames
  EXPECT_LE(lines.size(), 230);
  const QRegularExpression shape("^\\d{1,2}:\\d{2}:\\d{2}( [AP]M)?;-?\\d+\\.\\d{2};0\\.50;2\\.00;$");
  for (const QString& line : lines) {
    ASSERT_TRUE(shape.match(line).hasMatch()) << line.toStdString();
  }
}

TEST(RecordProgramTest, LinesInPolishNotationAppendToWhatIsThere) {
  QTemporaryDir folder;
  const QString path = folder.filePath("run.csv");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier;\r\n");
  }
  const Finished run = RunToEnd({"record", path, "--simulate", "--lines", "3", "--unit", "rev/min",
                                 "--decimals", "1", "--columns", "ver2"},
                                "pl_PL.UTF-8");
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(FileLines(path), (QStringList{"earlier;", "60,0;", "60,0;", "60,0;"}));
}

TEST(RecordProgramTest, TerminateFinishesTheLineAndExitsNormally) {
  QTemporaryDir folder;
  const QString path = folder.filePath("run.csv");
  QProcess process;
  process.start(Executable(), {"record", path, "--simulate", "--period", "10ms"});
  ASSERT_TRUE(process.waitForStarted());
  // Recording for a while: the file fills.
  for (int i = 0; i < 100 && QFileInfo(path).size() < 400; ++i) process.waitForFinished(50);
  ASSERT_GT(QFileInfo(path).size(), 0);
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_GT(FileLines(path).size(), 0);
}

TEST(WatchProgramTest, OnAPipeEveryRefreshIsALine) {
  QProcess process;
  process.start(Executable(), {"watch", "--simulate"});
  ASSERT_TRUE(process.waitForStarted());
  for (int i = 0; i < 60 && process.bytesAvailable() < 500; ++i) process.waitForReadyRead(100);
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitCode(), 0);
  const QStringList lines =
      QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 2);
  for (const QString& line : lines) {
    EXPECT_TRUE(line.startsWith("1: ") && line.contains("4: ") && line.endsWith("rev/s  out 00000"))
        << line.toStdString();
    EXPECT_LE(line.size(), 80);
    EXPECT_FALSE(line.contains('\r'));
  }
}

}  // namespace

namespace {

// The README's worked examples give what the README shows.
struct Example {
  const char* Name;
  QStringList Arguments;
  const char* Output;
};

void PrintTo(const Example& example, std::ostream* out) { *out << example.Name; }

class ReadmeExampleTest : public testing::TestWithParam<Example> {};

TEST_P(ReadmeExampleTest, GivesTheDocumentedOutput) {
  const Finished run = RunToEnd(GetParam().Arguments);
  EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out.toStdString(), GetParam().Output);
}

INSTANTIATE_TEST_SUITE_P(
    Readme, ReadmeExampleTest,
    testing::Values(
        Example{"SetBeforeATest",
                {"set", "--simulate", "resolution=2500", "gate-time=100ms",
                 "output.1=on:pos1:greater:100:none:less:0:active"},
                "resolution.1=2500: Encoder resolution was changed\n"
                "resolution.2=2500: Encoder resolution was changed\n"
                "resolution.3=2500: Encoder resolution was changed\n"
                "resolution.4=2500: Encoder resolution was changed\n"
                "gate-time=100ms: Sampling time was changed\n"
                "output.1=on:pos1:greater:100:none:less:0:active: Output configuration was saved to the "
                "device\n"},
        Example{"GetSome",
                {"get", "--simulate", "resolution.1", "gate-time", "output.1"},
                "resolution.1=1000\ngate-time=1000ms\noutput.1=off:pos1:less:0:none:less:0:inactive\n"}),
    [](const testing::TestParamInfo<Example>& info) { return std::string(info.param.Name); });

TEST(ReadmeExampleTest, RecordFiveLines) {
  QTemporaryDir folder;
  const QString path = folder.filePath("run.csv");
  const Finished run = RunToEnd({"record", path, "--simulate", "--period", "100ms", "--lines", "5", "--time",
                                 "--columns", "pos1,ver1,pos2,ver2"});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  const QStringList lines = FileLines(path);
  ASSERT_EQ(lines.size(), 5);
  const char* values[] = {"0.05;0.50;0.10;1.00;", "0.10;0.50;0.20;1.00;", "0.15;0.50;0.30;1.00;",
                          "0.20;0.50;0.40;1.00;", "0.25;0.50;0.50;1.00;"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(lines[i].endsWith(values[i])) << lines[i].toStdString();
  }
}

TEST(ReadmeExampleTest, OneReadingAsJson) {
  const Finished run = RunToEnd({"watch", "--simulate", "--once", "--json", "--unit", "rev/min"});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_TRUE(
      run.Out.endsWith("\"ver1\":30,\"ver2\":60,\"ver3\":90,\"ver4\":120,\"unit\":\"rev/min\","
                       "\"out1\":false,\"out2\":false,\"out3\":false,\"out4\":false,\"out5\":false}\n"))
      << run.Out.toStdString();
}

}  // namespace

namespace {

// What get prints, set takes back from standard input, every line of it.
TEST(ReadmeExampleTest, GetOutputFedBackToSet) {
  const Finished get = RunToEnd({"get", "--simulate"});
  ASSERT_EQ(get.Code, 0) << get.Err.toStdString();
  const QStringList settings = get.Out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(settings.size(), 18);  // 4 x 3 per channel, gate time, 5 outputs

  QProcess set;
  set.setProcessEnvironment(ScriptEnvironment());
  set.start(Executable(), {"set", "--simulate", "-"});
  ASSERT_TRUE(set.waitForStarted());
  set.write(get.Out.toUtf8());
  set.closeWriteChannel();
  ASSERT_TRUE(set.waitForFinished(30000));
  EXPECT_EQ(set.exitCode(), 0) << set.readAllStandardError().toStdString();
  const QStringList answers = QString::fromUtf8(set.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(answers.size(), settings.size());
  for (int i = 0; i < answers.size(); ++i) {
    EXPECT_TRUE(answers[i].startsWith(settings[i] + ": ")) << answers[i].toStdString();
  }
}

}  // namespace

namespace {

TEST(ProgramTest, OutputThatCannotBeWrittenIsAFileError) {
  QProcess process;
  process.setStandardOutputFile("/dev/full");
  process.start(Executable(), {"get", "--simulate"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 5);
  EXPECT_TRUE(process.readAllStandardError().contains("standard output"));
}

// A recorder started in the background with SIGINT ignored (as a shell does for "cmd &") keeps
// ignoring it; SIGTERM still ends it normally.
TEST(RecordProgramTest, IgnoredInterruptStaysIgnored) {
  QTemporaryDir folder;
  const QString path = folder.filePath("run.csv");
  QProcess process;
  process.start(
      "sh", {"-c", "trap '' INT; exec \"$0\" record \"$1\" --simulate --period 10ms", Executable(), path});
  ASSERT_TRUE(process.waitForStarted());
  for (int i = 0; i < 100 && QFileInfo(path).size() == 0; ++i) process.waitForFinished(50);
  ASSERT_GT(QFileInfo(path).size(), 0);
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  EXPECT_FALSE(process.waitForFinished(500)) << "SIGINT ended a recorder that was started with it ignored";
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitCode(), 0);
}

}  // namespace
