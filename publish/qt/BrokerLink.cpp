#include "publish/qt/BrokerLink.h"

#include <algorithm>
#include <utility>

namespace kvelt::publish {

BrokerLink::BrokerLink(Options options) : options_(std::move(options)), queue_(options_.QueueBound) {
  options_.Client.WillTopic = options_.StatusTopic;
  options_.Client.WillPayload = "offline";
  QObject::connect(&misc_, &QTimer::timeout, [this] {
    std::string why;
    if (client_) Check(client_->Misc(why), why);
  });
  retry_.setSingleShot(true);
  QObject::connect(&retry_, &QTimer::timeout, [this] { Connect(); });
}

BrokerLink::~BrokerLink() {
  readable_.reset();
  writable_.reset();
  client_.reset();
}

void BrokerLink::Start() { Connect(); }

void BrokerLink::Connect() {
  readable_.reset();
  writable_.reset();
  client_ = std::make_unique<MqttClient>(options_.Client);
  client_->OnConnected = [this](int code, const std::string& why) {
    if (code != 0) {
      Lost("the broker refused the connection: " + why);
      return;
    }
    connected_ = true;
    backoffMs_ = kFirstBackoffMs;
    if (OnNote) OnNote("connected to the broker");
    client_->Publish(options_.StatusTopic, "online", 1, true);
    queue_.ResendAll();
    Pump();
  };
  client_->OnPublished = [this](int id) {
    if (id == statusId_) statusId_ = -1;
    if (queue_.Acknowledge(id)) Pump();
    FinishIfDone();
  };
  std::string why;
  if (!client_->Connect(why)) {
    Lost("cannot connect to the broker: " + why);
    return;
  }
  Watch();
  misc_.start(1000);
}

void BrokerLink::Watch() {
  const int socket = client_->Socket();
  if (socket < 0) return;
  readable_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
  QObject::connect(readable_.get(), &QSocketNotifier::activated, [this] {
    std::string why;
    Check(client_->Read(why), why);
  });
  writable_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
  QObject::connect(writable_.get(), &QSocketNotifier::activated, [this] {
    std::string why;
    Check(client_->Write(why), why);
  });
  writable_->setEnabled(client_->WantWrite());
}

void BrokerLink::Check(bool ok, const std::string& why) {
  if (!ok) {
    Lost("the connection to the broker was lost: " + why);
    return;
  }
  if (writable_ && client_) writable_->setEnabled(client_->WantWrite());
}

void BrokerLink::Lost(const std::string& why) {
  // The client goes after its callback has returned; a new one is made for the next try.
  connected_ = false;
  misc_.stop();
  if (readable_) readable_->setEnabled(false);
  if (writable_) writable_->setEnabled(false);
  queue_.ResendAll();
  if (finishing_) {
    finished_ = true;
    if (OnFinished) OnFinished();
    return;
  }
  if (OnNote) {
    OnNote(why + "; trying again in " + std::to_string(backoffMs_) + " ms" +
           (options_.Qos == 1 ? " (" + std::to_string(queue_.Size()) + " messages kept)" : ""));
  }
  retry_.start(backoffMs_);
  backoffMs_ = std::min(backoffMs_ * 2, kLastBackoffMs);
}

void BrokerLink::Publish(const std::string& topic, const std::string& payload) {
  if (finishing_) return;
  if (options_.Qos == 0) {
    if (!connected_ || !client_->Publish(topic, payload, 0, false)) ++dropped_;
    if (writable_ && client_) writable_->setEnabled(client_->WantWrite());
    return;
  }
  if (queue_.Push(topic, payload)) {
    ++dropped_;
    if (OnNote && (dropped_ == 1 || dropped_ % 1000 == 0))
      OnNote("the queue is full (" + std::to_string(queue_.Bound()) +
             " messages): " + std::to_string(dropped_) + " oldest dropped so far");
  }
  Pump();
}

void BrokerLink::Pump() {
  if (!connected_ || !client_) return;
  while (queue_.InFlight() < kMaxInFlight) {
    const PublishQueue::Message* next = queue_.NextUnsent();
    if (next == nullptr) break;
    const std::optional<int> id = client_->Publish(next->Topic, next->Payload, 1, false);
    if (!id) break;
    queue_.MarkSent(*id);
  }
  if (writable_) writable_->setEnabled(client_->WantWrite());
}

void BrokerLink::Finish() {
  if (finishing_) return;
  finishing_ = true;
  retry_.stop();
  if (!connected_ || !client_) {
    finished_ = true;
    if (OnFinished) QTimer::singleShot(0, [this] { OnFinished(); });
    return;
  }
  const std::optional<int> id = client_->Publish(options_.StatusTopic, "offline", 1, true);
  statusId_ = id.value_or(-1);
  if (writable_) writable_->setEnabled(client_->WantWrite());
  FinishIfDone();
}

void BrokerLink::FinishIfDone() {
  if (!finishing_ || finished_ || statusId_ >= 0 || queue_.Size() > 0) return;
  finished_ = true;
  // Often called from the client's own callback, where it may not be driven again: what the
  // disconnect leaves unsent goes out when the socket is writable.
  client_->Disconnect();
  if (writable_) writable_->setEnabled(client_->WantWrite());
  connected_ = false;
  if (OnFinished) QTimer::singleShot(0, [this] { OnFinished(); });
}

}  // namespace kvelt::publish
