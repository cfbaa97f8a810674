#pragma once

#include <functional>

namespace kvelt::hid {

// The way into the application's main (user-interface) thread. Post() may be called from any
// thread; the task runs later, on the main thread, in posting order. The window implements it
// with a posted event, tests and benchmarks with TaskQueuePoster.
class MainThreadPoster {
 public:
  virtual ~MainThreadPoster() = default;
  virtual void Post(std::function<void()> task) = 0;
};

}  // namespace kvelt::hid
