#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "device/MainThreadPoster.h"

namespace kvelt::hid {

// A MainThreadPoster backed by a plain task queue that the owning ("main") thread runs itself.
class TaskQueuePoster final : public MainThreadPoster {
 public:
  void Post(std::function<void()> task) override;

  // Main thread: runs the tasks queued so far (not those they post); returns how many ran.
  std::size_t RunPending();
  // Main thread: waits up to timeout for a task and runs it; false when none came.
  bool RunOne(std::chrono::milliseconds timeout);
  // Main thread: runs tasks as they come until done() holds (checked after every task) or
  // the timeout passes without done() holding; returns done().
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  // Waits up to timeout until a task is queued, without running it.
  bool WaitForTask(std::chrono::milliseconds timeout) const;
  std::size_t QueuedCount() const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace kvelt::hid
