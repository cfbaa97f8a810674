#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kvelt::cli {

// Turns SIGINT and SIGTERM into a call on the main thread, so a subcommand can finish the line it
// is on and exit normally. The signal handler only writes a byte into a socket pair; the call
// runs from the event loop. A signal that was ignored at start stays ignored. The previous
// handlers come back when the object goes.
class SignalStop {
 public:
  explicit SignalStop(std::function<void()> onSignal);
  ~SignalStop();
  SignalStop(const SignalStop&) = delete;
  SignalStop& operator=(const SignalStop&) = delete;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kvelt::cli
