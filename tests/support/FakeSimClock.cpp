#include "tests/support/FakeSimClock.h"

namespace kvelt::hid::test {

sim::SimClock::TimePoint FakeSimClock::Now() const { return TimePoint(Duration(now_.load())); }

void FakeSimClock::WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                             TimePoint deadline) {
  // Advance() takes the waiter's mutex before it notifies, so no move between this look and
  // the wait goes unseen.
  if (Now() < deadline) wake.wait(lock);
}

void FakeSimClock::Attach(std::condition_variable& wake, std::mutex& mutex) {
  std::lock_guard lock(mutex_);
  attached_.emplace_back(&wake, &mutex);
}

void FakeSimClock::Detach(std::condition_variable& wake) {
  std::lock_guard lock(mutex_);
  std::erase_if(attached_, [&](const auto& entry) { return entry.first == &wake; });
}

void FakeSimClock::Advance(Duration by) {
  std::lock_guard lock(mutex_);
  now_ += by.count();
  for (const auto& [wake, mutex] : attached_) {
    std::lock_guard waiterLock(*mutex);
    wake->notify_all();
  }
}

}  // namespace kvelt::hid::test
