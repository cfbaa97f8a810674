#include "publish/PublishQueue.h"

#include <utility>

namespace kvelt::publish {

bool PublishQueue::Push(std::string topic, std::string payload) {
  bool dropped = false;
  if (bound_ == 0) return true;
  if (messages_.size() >= bound_) {
    messages_.pop_front();
    if (sent_ > 0) --sent_;
    ++dropped_;
    dropped = true;
  }
  messages_.push_back(Message{std::move(topic), std::move(payload), 0});
  return dropped;
}

void PublishQueue::MarkSent(int id) {
  if (sent_ >= messages_.size()) return;
  messages_[sent_].Id = id;
  ++sent_;
}

bool PublishQueue::Acknowledge(int id) {
  for (std::size_t i = 0; i < sent_; ++i) {
    if (messages_[i].Id != id) continue;
    messages_.erase(messages_.begin() + static_cast<std::ptrdiff_t>(i));
    --sent_;
    return true;
  }
  return false;
}

}  // namespace kvelt::publish
