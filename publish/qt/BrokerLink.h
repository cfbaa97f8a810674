#pragma once

#include <QSocketNotifier>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "publish/MqttClient.h"
#include "publish/PublishQueue.h"

namespace kvelt::publish {

// The program's link to the broker on the Qt main thread: the client's socket watched with
// socket notifiers (no thread of libmosquitto), a retained status ("online" once connected,
// "offline" at the end and as the last will), a new connection after a loss with a back-off of
// 1 s doubling up to 30 s, and the messages: at QoS 1 kept in a bounded queue until the broker
// acknowledges them and sent again after a reconnect; at QoS 0 sent while connected, else dropped.
class BrokerLink {
 public:
  struct Options {
    MqttClient::Settings Client;  // its will is set here: the status topic, "offline"
    std::string StatusTopic;
    int Qos = 1;
    std::size_t QueueBound = 10000;
  };

  explicit BrokerLink(Options options);
  ~BrokerLink();
  BrokerLink(const BrokerLink&) = delete;
  BrokerLink& operator=(const BrokerLink&) = delete;

  // The first connection; later ones follow by themselves.
  void Start();
  // One message of readings.
  void Publish(const std::string& topic, const std::string& payload);
  // Says "offline" and disconnects once every message (and the status) is acknowledged; then
  // OnFinished. Without a connection it finishes at once.
  void Finish();

  bool Connected() const { return connected_; }
  // Messages of QoS 1 not yet acknowledged.
  std::size_t Pending() const { return queue_.Size(); }
  long long Dropped() const { return dropped_; }

  // What happened to the connection, for the log (stderr).
  std::function<void(const std::string& note)> OnNote;
  std::function<void()> OnFinished;

 private:
  void Connect();
  void Lost(const std::string& why);
  void Pump();
  void Watch();
  void Check(bool ok, const std::string& why);
  void FinishIfDone();

  Options options_;
  std::unique_ptr<MqttClient> client_;
  std::unique_ptr<QSocketNotifier> readable_;
  std::unique_ptr<QSocketNotifier> writable_;
  QTimer misc_;
  QTimer retry_;
  int backoffMs_ = kFirstBackoffMs;
  PublishQueue queue_;
  bool connected_ = false;
  bool finishing_ = false;
  bool finished_ = false;
  int statusId_ = -1;  // the "offline" status in flight at the end
  long long dropped_ = 0;

  static constexpr int kFirstBackoffMs = 1000;
  static constexpr int kLastBackoffMs = 30000;
  static constexpr std::size_t kMaxInFlight = 20;
};

}  // namespace kvelt::publish
