#include "device/TaskQueuePoster.h"

#include <utility>

namespace kvelt::hid {

void TaskQueuePoster::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_all();
}

std::size_t TaskQueuePoster::RunPending() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(tasks_);
  }
  for (auto& task : batch) task();
  return batch.size();
}

bool TaskQueuePoster::RunOne(std::chrono::milliseconds timeout) {
  std::function<void()> task;
  {
    std::unique_lock lock(mutex_);
    if (!posted_.wait_for(lock, timeout, [this] { return !tasks_.empty(); })) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

bool TaskQueuePoster::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return done();
    RunOne(left);
  }
  return true;
}

bool TaskQueuePoster::WaitForTask(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return posted_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
}

std::size_t TaskQueuePoster::QueuedCount() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

}  // namespace kvelt::hid
