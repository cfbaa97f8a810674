#pragma once

#include <QTimer>
#include <chrono>
#include <functional>
#include <limits>

namespace kvelt::cli {

// A single-shot timer for any length a std::chrono::milliseconds holds. A QTimer takes its
// interval as an int of milliseconds (about 24.8 days) and misreads anything longer, so a longer
// wait runs as a chain of steps of at most `maxStep`, each aimed at the same deadline on the
// steady clock; `onTimeout` is called once, when the deadline has passed.
class LongTimer {
 public:
  static constexpr std::chrono::milliseconds kMaxQtInterval{std::numeric_limits<int>::max()};

  explicit LongTimer(std::function<void()> onTimeout, std::chrono::milliseconds maxStep = kMaxQtInterval);

  // (Re)starts the wait; a length of zero or less fires at the next turn of the event loop.
  void Start(std::chrono::milliseconds length);
  void Stop();
  bool Active() const { return timer_.isActive(); }
  // The interval of the step that runs now.
  std::chrono::milliseconds StepLength() const { return std::chrono::milliseconds(timer_.interval()); }

 private:
  void StartStep();

  QTimer timer_;
  std::function<void()> onTimeout_;
  std::chrono::milliseconds maxStep_;
  std::chrono::steady_clock::time_point deadline_;
};

}  // namespace kvelt::cli
