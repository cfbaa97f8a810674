#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kvelt::hid {

// Turns SIGINT, SIGTERM and SIGHUP into a call on the main thread, so that a program ends the
// way its user would end it (the window closes, a recording finishes its line). The signal
// handler only writes a byte into a socket pair; the call runs from the event loop. A signal
// that was ignored when the program started (nohup, a background job) stays ignored. The
// previous handlers come back when the object goes. One at a time per process.
class TerminationSignals {
 public:
  explicit TerminationSignals(std::function<void()> onSignal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kvelt::hid
