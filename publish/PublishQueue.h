#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace kvelt::publish {

// The messages of QoS 1 not yet acknowledged by the broker, oldest first: each is kept until its
// acknowledgement, and all of them go again, in order, after the connection was lost. At most
// `bound` are kept; when a new one finds the queue full, the oldest is dropped and counted.
class PublishQueue {
 public:
  struct Message {
    std::string Topic;
    std::string Payload;
    int Id = 0;  // the client's message id while it is in flight
  };

  explicit PublishQueue(std::size_t bound) : bound_(bound) {}

  // Adds a message at the end; true when the oldest had to be dropped for it.
  bool Push(std::string topic, std::string payload);
  // The oldest message not handed to the client yet; nullptr when every one is in flight.
  const Message* NextUnsent() const { return sent_ < messages_.size() ? &messages_[sent_] : nullptr; }
  // That message was handed to the client under `id`.
  void MarkSent(int id);
  // The broker acknowledged message `id`; false for an id not in flight.
  bool Acknowledge(int id);
  // The connection was lost: every message is unsent again.
  void ResendAll() { sent_ = 0; }

  std::size_t Size() const { return messages_.size(); }
  std::size_t InFlight() const { return sent_; }
  std::size_t Bound() const { return bound_; }
  long long Dropped() const { return dropped_; }

 private:
  std::size_t bound_;
  std::deque<Message> messages_;  // the first sent_ are in flight
  std::size_t sent_ = 0;
  long long dropped_ = 0;
};

}  // namespace kvelt::publish
