// The subcommands run in this process against the simulated counter, through the same factory
// the program uses, so that every exit status can be provoked and one counter can be set and
// read back by two subcommands.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "TestBackends.h"
#include "cli/CliProgram.h"
#include "device/HidBackendChoice.h"
#include "device/qt/CounterSession.h"
#include "device/qt/TerminationSignals.h"

namespace kvelt::cli {
namespace {

using test::SharedSimulatedBus;

struct Outcome {
  int Code = -1;
  std::string Out;
  std::string Err;
};

Outcome RunKvelt(SharedSimulatedBus& bus, const QStringList& arguments) {
  hid::ScopedHidBackendFactory factory([&bus] { return bus.MakeBackend(); });
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  Outcome run;
  run.Code = RunProgram(QStringList{"kvelt"} + arguments);
  run.Out = testing::internal::GetCapturedStdout();
  run.Err = testing::internal::GetCapturedStderr();
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

struct ExitCase {
  const char* Name;
  SharedSimulatedBus::Mode Mode;
  QStringList Arguments;
  int Code;
  const char* Message;  // part of the error line
};

void PrintTo(const ExitCase& c, std::ostream* out) { *out << c.Name; }

class ExitCodeTest : public testing::TestWithParam<ExitCase> {};

TEST_P(ExitCodeTest, TheStatusAndTheMessageSayWhat) {
  const ExitCase& c = GetParam();
  SharedSimulatedBus bus(c.Mode);
  const Outcome run = RunKvelt(bus, c.Arguments);
  EXPECT_EQ(run.Code, c.Code) << run.Err;
  EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
}

using Mode = SharedSimulatedBus::Mode;
INSTANTIATE_TEST_SUITE_P(
    Cases, ExitCodeTest,
    testing::Values(
        ExitCase{"NoCommand", Mode::Normal, {}, 1, "Usage: kvelt"},
        ExitCase{"UnknownCommand", Mode::Normal, {"fly"}, 1, "unknown command"},
        ExitCase{"UnknownOption", Mode::Normal, {"watch", "--fast"}, 1, "watch:"},
        ExitCase{"BadUnit", Mode::Normal, {"watch", "--unit", "knots"}, 1, "--unit"},
        ExitCase{"BadPeriod", Mode::Normal, {"record", "f.csv", "--period", "7s"}, 1, "--period"},
        ExitCase{
            "ForAndLines", Mode::Normal, {"record", "f.csv", "--for", "1s", "--lines", "3"}, 1, "exclude"},
        ExitCase{"RecordWithoutFile", Mode::Normal, {"record"}, 1, "FILE"},
        ExitCase{"InfoChannelFive", Mode::Normal, {"info", "5"}, 1, "CHANNEL"},
        ExitCase{"ResolutionTooLarge", Mode::Normal, {"set", "resolution.1=65536"}, 1, "0..65535"},
        ExitCase{"CoefficientWithWrongSeparator", Mode::Normal, {"set", "coefficient=1;5"}, 1, "coefficient"},
        ExitCase{"GateTimeNotInTheList", Mode::Normal, {"set", "gate-time=30ms"}, 1, "gate time"},
        // Values past 32 bits, or past a year, are refused with their range, not cut down.
        ExitCase{"GateTimePast32Bits", Mode::Normal, {"set", "gate-time=4294967396"}, 1, "10ms, 20ms"},
        ExitCase{"ForPastAYear", Mode::Normal, {"record", "f.csv", "--for", "8785h"}, 1, "366 days"},
        ExitCase{"TimeoutPastAYear", Mode::Normal, {"get", "--timeout", "31622400001ms"}, 1, "366 days"},
        ExitCase{"ModbusAddressZero", Mode::Normal, {"set", "modbus-address=0"}, 1, "1..247"},
        ExitCase{"BadBaudRate", Mode::Normal, {"set", "modbus-baud=9600"}, 1, "baud"},
        ExitCase{"OutputThresholdNotANumber",
                 Mode::Normal,
                 {"set", "output.1=on:pos1:greater:lots:none:less:0:active"},
                 1,
                 "threshold"},
        ExitCase{"ModbusCannotBeRead", Mode::Normal, {"get", "modbus-address"}, 1, "can only be set"},
        ExitCase{"NoCounterToList", Mode::Empty, {"list"}, 2, "no counter"},
        ExitCase{"NoCounterToWatch", Mode::Empty, {"watch", "--once"}, 2, "no counter"},
        ExitCase{"NoPermissionToList", Mode::NoPermission, {"list"}, 3, "udevadm trigger"},
        ExitCase{"NoPermissionToGet", Mode::NoPermission, {"get"}, 3, "cannot be opened"},
        ExitCase{"NoReplyToGet", Mode::Silent, {"get", "resolution.1", "--timeout", "200ms"}, 4, "no reply"},
        ExitCase{"NoReplyToSet", Mode::Silent, {"set", "gate-time=1s", "--timeout", "200ms"}, 4, "no reply"},
        ExitCase{"FileIsAFolder", Mode::Normal, {"record", "/"}, 5, "cannot open"},
        ExitCase{"FileCannotBeWritten", Mode::Normal, {"record", "/dev/full"}, 5, "cannot write"},
        ExitCase{"BadFormat", Mode::Normal, {"record", "-", "--format", "xml"}, 1, "--format"},
        ExitCase{"BadTimestamp", Mode::Normal, {"record", "-", "--timestamp", "utc"}, 1, "--timestamp"},
        ExitCase{
            "HeaderOfNdjson", Mode::Normal, {"record", "-", "--format", "ndjson", "--header"}, 1, "--header"},
        ExitCase{"ColumnTwice", Mode::Normal, {"record", "-", "--columns", "pos1,pos1"}, 1, "twice"},
        ExitCase{"BadWait", Mode::Normal, {"get", "--wait=soon"}, 1, "--wait"},
        ExitCase{"WaitedInVain", Mode::Empty, {"get", "--wait=100ms"}, 2, "no counter"},
        ExitCase{"ZeroChannelFive", Mode::Normal, {"zero", "5"}, 1, "CHANNEL"},
        ExitCase{"ZeroUnanswered", Mode::Silent, {"zero", "1", "--timeout", "200ms"}, 4, "no reply"},
        ExitCase{"BadBroker", Mode::Normal, {"publish", "--broker", "http://x"}, 1, "mqtt://"},
        ExitCase{"BadQos", Mode::Normal, {"publish", "--qos", "2"}, 1, "--qos"},
        ExitCase{"WildcardTopic", Mode::Normal, {"publish", "--topic", "a/#"}, 1, "--topic"},
        ExitCase{"OutputNamedTwice",
                 Mode::Normal,
                 {"set", "output.1=on:pos1:less:1:none:less:0:active",
                  "output.1=off:pos1:less:0:none:less:0:inactive"},
                 1,
                 "named twice"}),
    [](const testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.Name); });

TEST(SetGetTest, WhatSetWritesGetReadsBackInTheFormSetTakes) {
  SharedSimulatedBus bus;
  const QStringList written{"resolution=2500", "coefficient.2=0.125", "zero-marker.3=yes",
                            "output.2=on:pos3:greater:12.75:and:less:-0.5:active",
                            "output.5=on:pos4:less:1000:none:less:0:inactive"};
  const Outcome set = RunKvelt(bus, QStringList{"set"} << written);
  ASSERT_EQ(set.Code, 0) << set.Err;
  // One answer per request: four channels of the resolution, then each of the others.
  const std::vector<std::string> answers = Lines(set.Out);
  ASSERT_EQ(answers.size(), 8u) << set.Out;
  EXPECT_EQ(answers[0], "resolution.1=2500: Encoder resolution was changed");
  EXPECT_EQ(answers[3], "resolution.4=2500: Encoder resolution was changed");
  EXPECT_EQ(answers[7],
            "output.5=on:pos4:less:1000:none:less:0:inactive: Output configuration was saved to the device");

  const Outcome get = RunKvelt(bus, {"get", "resolution", "coefficient.2", "zero-marker.3", "outputs"});
  ASSERT_EQ(get.Code, 0) << get.Err;
  EXPECT_EQ(
      Lines(get.Out),
      (std::vector<std::string>{
          "resolution.1=2500", "resolution.2=2500", "resolution.3=2500", "resolution.4=2500",
          "coefficient.2=0.125", "zero-marker.3=yes", "output.1=off:pos1:less:0:none:less:0:inactive",
          "output.2=on:pos3:greater:12.75:and:less:-0.50:active",
          "output.3=off:pos1:less:0:none:less:0:inactive", "output.4=off:pos1:less:0:none:less:0:inactive",
          "output.5=on:pos4:less:1000.00:none:less:0:inactive"}));

  // Setting one output keeps the others as the counter has them.
  ASSERT_EQ(RunKvelt(bus, {"set", "output.1=on:pos2:less:3:or:greater:4:active"}).Code, 0);
  const Outcome after = RunKvelt(bus, {"get", "outputs"});
  EXPECT_EQ(Lines(after.Out)[0], "output.1=on:pos2:less:3.00:or:greater:4.00:active");
  EXPECT_EQ(Lines(after.Out)[1], "output.2=on:pos3:greater:12.75:and:less:-0.50:active");
  EXPECT_EQ(Lines(after.Out)[4], "output.5=on:pos4:less:1000.00:none:less:0:inactive");
}

TEST(SetGetTest, AValueAnotherClientOverwroteIsReportedNotSaved) {
  SharedSimulatedBus bus(Mode::Overwritten);
  const Outcome set = RunKvelt(bus, {"set", "resolution.2=2500"});
  EXPECT_EQ(set.Code, 6) << set.Err;
  EXPECT_NE(set.Err.find("resolution.2 was set to 2500 but reads 777"), std::string::npos) << set.Err;
  EXPECT_EQ(RunKvelt(bus, {"set", "resolution.2=2500", "--no-verify"}).Code, 0);
}

TEST(SessionTest, ASecondProgramIsToldWhoHasTheCounter) {
  SharedSimulatedBus bus;
  hid::ScopedHidBackendFactory factory([&bus] { return bus.MakeBackend(); });
  hid::CounterSession holder(hid::CounterSession::Options{true, {}, {}});
  holder.Scan();
  ASSERT_EQ(holder.State(), hid::CounterState::Connected);
  const Outcome get = RunKvelt(bus, {"set", "gate-time=1s", "--lang", "en"});
  EXPECT_EQ(get.Code, 3);
  EXPECT_NE(get.Err.find("in use by " + std::string(program_invocation_short_name) + " (PID " +
                         std::to_string(::getpid()) + ")"),
            std::string::npos)
      << get.Err;
  EXPECT_NE(RunKvelt(bus, {"list"}).Out.find("in use"), std::string::npos);
}

struct DeviceChoice {
  const char* Choice;
  int Code;
};

class DeviceChoiceTest : public testing::TestWithParam<DeviceChoice> {};

TEST_P(DeviceChoiceTest, PathSerialOrPositionNamesTheCounter) {
  SharedSimulatedBus bus;
  EXPECT_EQ(RunKvelt(bus, {"watch", "--once", "--device", GetParam().Choice}).Code, GetParam().Code);
}

INSTANTIATE_TEST_SUITE_P(Choices, DeviceChoiceTest,
                         testing::Values(DeviceChoice{"SIM-0001", 0}, DeviceChoice{"2", 0},
                                         DeviceChoice{"sim:kvelt-counter", 0}, DeviceChoice{"1", 2},
                                         DeviceChoice{"3", 2}, DeviceChoice{"/dev/hidraw9", 2},
                                         DeviceChoice{"OTHER", 2}));

// A signal ignored when the program started (nohup) stays ignored; the others end it cleanly.
TEST(SignalTest, IgnoredAtStartStaysIgnored) {
  struct sigaction ignore = {};
  struct sigaction previous = {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGHUP, &ignore, &previous);
  int calls = 0;
  {
    const hid::TerminationSignals stop([&calls] { ++calls; });
    std::raise(SIGHUP);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
    std::raise(SIGTERM);
    for (int i = 0; i < 100 && calls == 0; ++i)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(calls, 1);
  }
  ::sigaction(SIGHUP, &previous, nullptr);
}

TEST(SetGetTest, GateTimeSetShowsInTheFramesGetReads) {
  SharedSimulatedBus bus;
  ASSERT_EQ(RunKvelt(bus, {"set", "gate-time=0.5s"}).Code, 0);
  const Outcome get = RunKvelt(bus, {"get", "gate-time", "--json"});
  ASSERT_EQ(get.Code, 0) << get.Err;
  EXPECT_EQ(get.Out, "{\"setting\":\"gate-time\",\"value\":500,\"unit\":\"ms\"}\n");
}

TEST(ListTest, TheCounterIsMarkedAndTheKeyboardIsNotOpened) {
  SharedSimulatedBus bus;
  const Outcome human = RunKvelt(bus, {"list"});
  ASSERT_EQ(human.Code, 0) << human.Err;
  const std::vector<std::string> lines = Lines(human.Out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("   1  Simulated keyboard", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("*  2  KVELT", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find("1209:0001  ok"), std::string::npos) << lines[1];

  const Outcome json = RunKvelt(bus, {"list", "--json"});
  EXPECT_EQ(Lines(json.Out)[1],
            "{\"index\":2,\"name\":\"KVELT\",\"serial\":\"SIM-0001\",\"vendor_id\":\"1209\","
            "\"product_id\":\"0001\",\"path\":\"sim:kvelt-counter\",\"counter\":true,\"access\":\"ok\"}");
}

TEST(ListTest, EscapeCodesInANameAreShownNotSent) {
  SharedSimulatedBus bus(SharedSimulatedBus::Mode::HostileName);
  const Outcome human = RunKvelt(bus, {"list"});
  EXPECT_NE(human.Out.find("\\x1b]0;owned\\x07\\x1b[31mKeyboard"), std::string::npos) << human.Out;
  EXPECT_EQ(human.Out.find('\x1b'), std::string::npos);
  const Outcome json = RunKvelt(bus, {"list", "--json"});
  EXPECT_NE(json.Out.find("\\u001b]0;owned\\u0007"), std::string::npos) << json.Out;
  // A command line's word is echoed escaped too.
  EXPECT_NE(RunKvelt(bus, {"\x1b[2Jfly"}).Err.find("\\x1b[2Jfly"), std::string::npos);
}

TEST(WatchTest, OnceGivesOneReadingOfAllChannelsInTheUnit) {
  SharedSimulatedBus bus;
  const Outcome run = RunKvelt(bus, {"watch", "--once", "--unit", "rev/min", "--json"});
  ASSERT_EQ(run.Code, 0) << run.Err;
  // Channel c turns at c x 0.5 rev/s: c x 30 rev/min.
  EXPECT_NE(run.Out.find("\"ver1\":30,\"ver2\":60,\"ver3\":90,\"ver4\":120,\"unit\":\"rev/min\","),
            std::string::npos)
      << run.Out;
  EXPECT_EQ(Lines(run.Out).size(), 1u);
}

TEST(ZeroTest, EveryChannelNamedIsAnswered) {
  SharedSimulatedBus bus;
  const Outcome run = RunKvelt(bus, {"zero", "1", "4"});
  ASSERT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(Lines(run.Out),
            (std::vector<std::string>{"pos1: Position was reset", "pos4: Position was reset"}));
}

// A counter plugged in while the command waits for it is taken.
TEST(WaitTest, ACounterPluggedInLaterIsTaken) {
  SharedSimulatedBus bus;
  bus.Simulated().Unplug();
  QTimer::singleShot(0, [&bus] { bus.Simulated().Plug(); });
  const Outcome run = RunKvelt(bus, {"get", "gate-time", "--wait"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(run.Out, "gate-time=1000ms\n");
  EXPECT_NE(run.Err.find("waiting for the counter"), std::string::npos) << run.Err;
}

// Followed across an unplug, the recording has its gap said as an event line and every line
// whole; lines go on once the counter is back.
TEST(FollowTest, RecordingGoesOnAcrossAnUnplug) {
  QTemporaryDir folder;
  const QString path = folder.filePath("run.ndjson");
  SharedSimulatedBus bus;
  QTimer unplug;
  QObject::connect(&unplug, &QTimer::timeout, [&] {
    if (QFileInfo(path).size() == 0) return;
    unplug.stop();
    bus.Simulated().Unplug();
    QTimer::singleShot(300, [&bus] { bus.Simulated().Plug(); });
  });
  unplug.start(50);
  const Outcome run = RunKvelt(bus, {"record", path, "--follow", "--format", "ndjson", "--period", "10ms",
                                     "--lines", "60", "--columns", "pos1"});
  ASSERT_EQ(run.Code, 0) << run.Err;
  EXPECT_NE(run.Err.find("the counter was unplugged"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("the counter is back"), std::string::npos) << run.Err;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  EXPECT_TRUE(lines.back().isEmpty()) << "the last line is torn";
  int values = 0;
  QStringList events;
  for (const QByteArray& line : lines.mid(0, lines.size() - 1)) {
    if (line.startsWith("{\"pos1\":")) {
      ++values;
    } else {
      EXPECT_TRUE(line.contains("\"event\":")) << line.toStdString();
      events << QString(line.contains("unplugged") ? "unplugged" : "reconnected");
    }
  }
  EXPECT_EQ(values, 60);
  EXPECT_EQ(events, (QStringList{"unplugged", "reconnected"}));
}

TEST(InfoTest, TheInformationBoxInTheChosenLanguage) {
  SharedSimulatedBus bus;
  const Outcome polish = RunKvelt(bus, {"info", "3", "--lang", "pl"});
  ASSERT_EQ(polish.Code, 0) << polish.Err;
  EXPECT_NE(polish.Out.find("Czas bramkowania: 1"), std::string::npos) << polish.Out;
  const Outcome english = RunKvelt(bus, {"info", "3", "--lang", "en", "--unit", "mm/s"});
  EXPECT_NE(english.Out.find("Gate time:1"), std::string::npos) << english.Out;
  EXPECT_FALSE(english.Out.ends_with("\n\n")) << english.Out;
}

}  // namespace
}  // namespace kvelt::cli

namespace kvelt::cli {
namespace {

// The counter unplugged in the middle of a recording: the run ends with exit 2 and what was
// recorded stays, every line whole.
TEST(RecordTest, UnpluggedCounterEndsTheRunWithWholeLines) {
  test::SharedSimulatedBus bus;
  QTemporaryDir folder;
  const QString path = folder.filePath("run.csv");
  QTimer::singleShot(400, [&bus] { bus.Simulated().Unplug(); });
  const Outcome run = RunKvelt(bus, {"record", path, "--period", "10ms"});
  EXPECT_EQ(run.Code, 2) << run.Err;
  EXPECT_NE(run.Err.find("unplugged after"), std::string::npos) << run.Err;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_GT(bytes.count("\r\n"), 5);
  EXPECT_TRUE(bytes.endsWith("\r\n"));
}

}  // namespace
}  // namespace kvelt::cli

namespace kvelt::cli {
namespace {

// A counter that stops sending ends the run with exit 4 instead of leaving it waiting for good.
TEST(RecordTest, CounterThatStopsSendingEndsTheRun) {
  test::SharedSimulatedBus bus;
  QTemporaryDir folder;
  QTimer::singleShot(300, [&bus] { bus.Mute(); });
  const Outcome run = RunKvelt(bus, {"record", folder.filePath("run.csv"), "--timeout", "300ms"});
  EXPECT_EQ(run.Code, 4) << run.Err;
  EXPECT_NE(run.Err.find("stopped sending"), std::string::npos) << run.Err;
}

TEST(WatchTest, CounterThatStopsSendingEndsTheWatch) {
  test::SharedSimulatedBus bus;
  QTimer::singleShot(300, [&bus] { bus.Mute(); });
  const Outcome run = RunKvelt(bus, {"watch", "--timeout", "300ms"});
  EXPECT_EQ(run.Code, 4) << run.Err;
  EXPECT_GE(Lines(run.Out).size(), 1u);
}

}  // namespace
}  // namespace kvelt::cli
