// kvelt publish against a real broker: Debian's mosquitto started here on a free loopback port,
// mosquitto_sub as the dashboard.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <set>

#include "ProgramRun.h"

namespace kvelt::cli {
namespace {

using test::Executable;

constexpr int kWaitMs = 15000;

int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

// Reads a process's output channel until `text` has come (kept in `seen`); false on time-out.
bool WaitForText(QProcess& process, QByteArray& seen, const QByteArray& text) {
  const QDeadlineTimer deadline(kWaitMs);
  while (!seen.contains(text)) {
    if (deadline.hasExpired() || !process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
      return false;
    seen += process.readAll();
  }
  return true;
}

// A broker of its own, keeping its sessions on disk across a restart.
class Broker {
 public:
  Broker() : port_(FreePort()) {
    // Started as root, mosquitto runs as its own user, which must write its sessions here.
    QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                              QFileDevice::WriteOther | QFileDevice::ExeOther);
    QFile config(folder_.filePath("mosquitto.conf"));
    EXPECT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QString("listener %1 127.0.0.1\nallow_anonymous true\npersistence true\n"
                         "persistence_location %2/\nlog_dest stderr\nlog_type all\n")
                     .arg(port_)
                     .arg(folder_.path())
                     .toUtf8());
  }
  ~Broker() { Stop(); }
  void Start() {
    log_.clear();
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->start("/usr/sbin/mosquitto", {"-c", folder_.filePath("mosquitto.conf")});
    ASSERT_TRUE(process_->waitForStarted()) << "mosquitto is not installed (tools/install-deps.sh)";
    ASSERT_TRUE(WaitFor(" running")) << log_.toStdString();
  }
  void Stop() {
    if (!process_) return;
    process_->terminate();  // saves the sessions
    process_->waitForFinished(kWaitMs);
    process_.reset();
  }
  bool WaitFor(const QByteArray& text) { return WaitForText(*process_, log_, text); }
  QString Url() const { return QString("mqtt://127.0.0.1:%1").arg(port_); }
  QString Port() const { return QString::number(port_); }

 private:
  QTemporaryDir folder_;
  int port_;
  std::unique_ptr<QProcess> process_;
  QByteArray log_;
};

// A dashboard: every message of the test's topics, "topic payload" a line, at QoS 1 in a session
// the broker keeps while it is away.
class Subscriber {
 public:
  explicit Subscriber(Broker& broker) {
    process_.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", broker.Port(), "-v", "-q", "1", "-c", "-i",
                                     "kvelt-test-dashboard", "-t", "bench/#"});
    EXPECT_TRUE(process_.waitForStarted());
    EXPECT_TRUE(broker.WaitFor("Received SUBSCRIBE from kvelt-test-dashboard"));
  }
  ~Subscriber() {
    process_.kill();
    process_.waitForFinished();
  }
  bool WaitFor(const QByteArray& text) { return WaitForText(process_, seen_, text); }
  // The seq of every reading seen.
  std::multiset<int> Sequence() const {
    std::multiset<int> numbers;
    for (const QByteArray& line : seen_.split('\n')) {
      if (!line.startsWith("bench/one/readings ")) continue;
      numbers.insert(QJsonDocument::fromJson(line.mid(19)).object()["seq"].toInt());
    }
    return numbers;
  }
  const QByteArray& Seen() const { return seen_; }

 private:
  QProcess process_;
  QByteArray seen_;
};

QStringList PublishArguments(const Broker& broker, const QStringList& extra) {
  return QStringList{"publish", "--simulate", "--broker", broker.Url(), "--topic", "bench/one"} + extra;
}

TEST(PublishTest, ReadingsAndStatusReachTheDashboard) {
  Broker broker;
  broker.Start();
  Subscriber dashboard(broker);
  const test::Finished run =
      test::RunToEnd(PublishArguments(broker, {"--period", "10ms", "--count", "20", "--qos", "0"}));
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  ASSERT_TRUE(dashboard.WaitFor("bench/one/status offline")) << dashboard.Seen().toStdString();
  EXPECT_TRUE(dashboard.Seen().startsWith("bench/one/status online\n")) << dashboard.Seen().toStdString();
  const std::multiset<int> sequence = dashboard.Sequence();
  EXPECT_EQ(sequence.size(), 20u);
  EXPECT_EQ(*sequence.rbegin(), 20);
  const QByteArray first = dashboard.Seen().split('\n')[1];
  const QJsonObject reading = QJsonDocument::fromJson(first.mid(19)).object();
  EXPECT_EQ(reading["ver2"].toDouble(), 1.0) << first.toStdString();
  EXPECT_TRUE(reading["time"].isString());
}

// Killed outright, the bench is reported offline by the broker, from its last will, and a
// dashboard that comes later still finds that status retained.
TEST(PublishTest, LastWillSaysOfflineWhenKilled) {
  Broker broker;
  broker.Start();
  QProcess publish;
  publish.setProcessEnvironment(test::ScriptEnvironment());
  publish.start(Executable(), PublishArguments(broker, {"--period", "100ms"}));
  ASSERT_TRUE(publish.waitForStarted());
  ASSERT_TRUE(broker.WaitFor("bench/one/readings"));
  ::kill(static_cast<pid_t>(publish.processId()), SIGKILL);
  publish.waitForFinished();
  QProcess late;
  late.start("mosquitto_sub",
             {"-h", "127.0.0.1", "-p", broker.Port(), "-v", "-t", "bench/one/status", "-C", "1"});
  ASSERT_TRUE(late.waitForFinished(kWaitMs));
  EXPECT_EQ(late.readAllStandardOutput(), "bench/one/status offline\n");
}

// At QoS 1 a broker restart in the middle of a run loses no reading. The dashboard's session is
// kept by the broker across the restart, and the dashboard is back (at once) before the
// publisher (after its back-off of 1 s).
TEST(PublishTest, BrokerRestartLosesNothingAtQosOne) {
  Broker broker;
  broker.Start();
  auto dashboard = std::make_unique<Subscriber>(broker);
  QProcess publish;
  publish.setProcessEnvironment(test::ScriptEnvironment());
  publish.start(Executable(),
                PublishArguments(broker, {"--period", "10ms", "--count", "150", "--timeout", "10s"}));
  ASSERT_TRUE(publish.waitForStarted());
  ASSERT_TRUE(dashboard->WaitFor("\"seq\":10,"));
  QByteArray seen = dashboard->Seen();
  dashboard.reset();
  broker.Stop();
  broker.Start();
  dashboard = std::make_unique<Subscriber>(broker);
  ASSERT_TRUE(publish.waitForFinished(30000));
  const QByteArray messages = publish.readAllStandardError();
  EXPECT_EQ(publish.exitCode(), 0) << messages.toStdString();
  EXPECT_TRUE(messages.contains("lost")) << messages.toStdString();
  ASSERT_TRUE(dashboard->WaitFor("bench/one/status offline")) << dashboard->Seen().toStdString();
  std::multiset<int> sequence = dashboard->Sequence();
  for (const QByteArray& line : seen.split('\n')) {
    if (line.startsWith("bench/one/readings "))
      sequence.insert(QJsonDocument::fromJson(line.mid(19)).object()["seq"].toInt());
  }
  for (int seq = 1; seq <= 150; ++seq) EXPECT_GT(sequence.count(seq), 0u) << "lost seq " << seq;
}

}  // namespace
}  // namespace kvelt::cli
