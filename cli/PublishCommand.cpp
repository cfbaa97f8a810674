// kvelt publish: the readings to an MQTT broker, one JSON message per period, with a retained
// status and a last will. Read-only: nothing that comes from the broker reaches the counter.

#include <unistd.h>

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/ReadingText.h"
#include "cli/SilenceWatch.h"
#include "cli/SubcommandParser.h"
#include "cli/ValueOptions.h"
#include "device/qt/TerminationSignals.h"
#include "measure/qt/LineRecorder.h"
#include "publish/BrokerAddress.h"
#include "publish/TopicNames.h"
#include "publish/qt/BrokerLink.h"
#include "settings/SettingsKeys.h"

namespace kvelt::cli {
namespace {

constexpr std::size_t kQueueBound = 10000;

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
  return name;
}

// The first line of a password file, without its line end.
std::optional<std::string> ReadPassword(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  if (!file || !std::getline(file, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

ExitCode RunPublish(const QStringList& arguments) {
  SubcommandParser command(
      "publish",
      "Publishes the readings to an MQTT broker: one JSON message per period on PREFIX/readings "
      "({\"seq\":1,\"time\":\"...\",\"pos1\":...,\"ver4\":...,\"unit\":\"rev/s\",\"out1\":false,...}, values "
      "in "
      "full precision, seq counting the messages of this run), and PREFIX/status retained: \"online\" "
      "while it runs, \"offline\" when it ends or, as its last will, when it dies. It follows the counter "
      "across unplugs and the broker across restarts (a new connection after 1 s, doubling up to 30 s). "
      "At QoS 1 up to 10000 messages not yet acknowledged by the broker are kept and sent again after a "
      "reconnect (beyond that the oldest are dropped, said on stderr); at QoS 0 messages made while "
      "there is no connection are dropped. Nothing is ever written to the counter.\n"
      "Runs until Ctrl-C or SIGTERM (or --count messages), then says \"offline\" and exits 0.",
      SubcommandParser::kUnit | SubcommandParser::kTimeout);
  const QCommandLineOption broker("broker",
                                  "The broker: mqtt://HOST[:PORT] (default mqtt://localhost:1883) or "
                                  "mqtts://HOST[:PORT] (TLS, port 8883).",
                                  "url");
  const QCommandLineOption topic(
      "topic", "The topic prefix (default kvelt/<host name>/<serial number or device>).", "prefix");
  const QCommandLineOption period("period",
                                  "One message per period: 10ms, 100ms, 1s (default), 10s, 30s, 1min, "
                                  "10min, 30min or 1h.",
                                  "period");
  const QCommandLineOption qos("qos", "0 (at most once) or 1 (at least once, default).", "n");
  const QCommandLineOption cafile("cafile", "mqtts: the certificate authority file (default: the system's).",
                                  "file");
  const QCommandLineOption username("username", "The user name at the broker.", "name");
  const QCommandLineOption passwordFile("password-file", "A file whose first line is the password.", "file");
  const QCommandLineOption count("count",
                                 "Publishes this many messages, waits for the broker to take them, then "
                                 "exits.",
                                 "n");
  for (const QCommandLineOption& option :
       {broker, topic, period, qos, cafile, username, passwordFile, count}) {
    command.Parser().addOption(option);
  }
  if (!command.Parse(arguments)) return ExitCode::Done;
  if (!command.Positional().isEmpty()) command.Fail("takes no arguments");
  QCommandLineParser& parser = command.Parser();

  publish::BrokerLink::Options options;
  std::string why;
  const std::optional<publish::BrokerAddress> address = publish::ParseBrokerAddress(
      parser.isSet(broker) ? parser.value(broker).toStdString() : "mqtt://localhost", why);
  if (!address) command.Fail("bad --broker \"" + parser.value(broker) + "\": " + QString::fromStdString(why));
  options.Client.Broker = *address;
  int periodIndex = 2;  // 1 s
  if (parser.isSet(period)) {
    const std::optional<int> index = ParseRecordPeriod(parser.value(period).toStdString());
    if (!index) command.Fail("bad --period \"" + parser.value(period) + "\"");
    periodIndex = *index;
  }
  if (parser.isSet(qos)) {
    if (parser.value(qos) != "0" && parser.value(qos) != "1")
      command.Fail("bad --qos \"" + parser.value(qos) + "\" (0 or 1)");
    options.Qos = parser.value(qos).toInt();
  }
  if (parser.isSet(cafile) && !address->Tls) command.Fail("--cafile is for an mqtts:// broker");
  options.Client.CaFile = QFile::encodeName(parser.value(cafile)).toStdString();
  options.Client.Username = parser.value(username).toStdString();
  if (parser.isSet(passwordFile)) {
    const std::optional<std::string> password =
        ReadPassword(QFile::encodeName(parser.value(passwordFile)).toStdString());
    if (!password)
      throw CliFailure(ExitCode::FileError,
                       "cannot read the password from " + parser.value(passwordFile).toStdString());
    if (options.Client.Username.empty()) command.Fail("--password-file needs --username");
    options.Client.Password = *password;
  }
  std::optional<long long> messageLimit;
  if (parser.isSet(count)) {
    messageLimit = ParsePositiveCount(parser.value(count).toStdString());
    if (!messageLimit) command.Fail("bad --count \"" + parser.value(count) + "\"");
  }
  std::string prefix = parser.value(topic).toStdString();
  if (parser.isSet(topic) && !publish::ValidTopicPrefix(prefix))
    command.Fail("bad --topic \"" + parser.value(topic) + "\" (no '+', '#' or control characters)");

  CounterReplies replies(command.Unit());
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  const std::string host = HostName();
  if (!parser.isSet(topic)) {
    prefix = publish::DefaultTopicPrefix(host, link.Counter()->SerialNumber, link.Counter()->Path);
  }
  options.StatusTopic = prefix + "/status";
  options.QueueBound = kQueueBound;
  options.Client.ClientId = "kvelt-" + host.substr(0, 40) + "-" + std::to_string(::getpid());
  const std::string readingsTopic = prefix + "/readings";
  std::fprintf(stderr, "kvelt: publishing to %s:%d on %s\n", address->Host.c_str(), address->Port,
               readingsTopic.c_str());

  publish::BrokerLink brokerLink(options);
  brokerLink.OnNote = [](const std::string& note) { std::fprintf(stderr, "kvelt: %s\n", note.c_str()); };

  long long sequence = 0;
  bool stopping = false;
  RecordTarget target;
  target.Columns.Position.fill(true);
  target.Columns.Speed.fill(true);
  target.Compose = [&](const ChannelReadingArray& readings) {
    const std::string reading =
        ReadingJson(readings, command.Unit(), replies.Outputs(), std::chrono::system_clock::now());
    return "{\"seq\":" + std::to_string(++sequence) + "," + reading.substr(1);
  };
  target.Write = [&](std::string_view message) {
    brokerLink.Publish(readingsTopic, std::string(message));
    return AppendResult::Written;
  };
  LineRecorder recorder([&target] { return target; });
  replies.OnChannelFrame = [&recorder](int channel) { recorder.NoteChannelFrame(channel); };
  replies.OnChannel4Frame = [&] {
    if (stopping) return true;
    if (recorder.OnChannel4Frame(periodIndex, true, replies.Readings()) == LineRecorder::Outcome::Written &&
        messageLimit && recorder.LinesWritten() >= *messageLimit) {
      stopping = true;
      link.Stop();
    }
    return true;
  };

  const auto watchSilence = [&] {
    return std::make_unique<SilenceWatch>(
        command.Timeout(), [&replies] { return replies.FrameCount(); }, [&link] { link.Stop(); });
  };
  std::unique_ptr<SilenceWatch> silence = watchSilence();
  link.Follow(
      [&] {
        silence.reset();
        std::fprintf(stderr, "kvelt: the counter was unplugged; waiting for it to come back\n");
      },
      [&] {
        recorder.Restart();
        silence = watchSilence();
        std::fprintf(stderr, "kvelt: the counter is back; publishing goes on\n");
      });
  const hid::TerminationSignals signalStop([&link] { link.Stop(); });
  brokerLink.Start();
  link.RunUntil(nullptr, std::nullopt);
  stopping = true;

  // The end: "offline", and at QoS 1 what is still queued, given a reply timeout to go out.
  QEventLoop finishing;
  bool finished = false;
  brokerLink.OnFinished = [&] {
    finished = true;
    finishing.quit();
  };
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &finishing, &QEventLoop::quit);
  brokerLink.Finish();
  if (!finished) {
    limit.start(command.Timeout());
    finishing.exec();
  }
  if (silence && silence->Silent()) {
    throw CliFailure(ExitCode::NoReply,
                     "the counter stopped sending after " + std::to_string(sequence) + " messages");
  }
  if (brokerLink.Pending() > 0) {
    throw CliFailure(ExitCode::NoReply, std::to_string(brokerLink.Pending()) +
                                            " messages were not acknowledged by the broker in time");
  }
  if (brokerLink.Dropped() > 0) {
    std::fprintf(stderr, "kvelt: %lld messages were dropped\n", brokerLink.Dropped());
  }
  return ExitCode::Done;
}

}  // namespace kvelt::cli
