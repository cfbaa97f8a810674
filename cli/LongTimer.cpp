#include "cli/LongTimer.h"

#include <algorithm>
#include <utility>

namespace kvelt::cli {

LongTimer::LongTimer(std::function<void()> onTimeout, std::chrono::milliseconds maxStep)
    : onTimeout_(std::move(onTimeout)),
      maxStep_(std::clamp(maxStep, std::chrono::milliseconds(1), kMaxQtInterval)) {
  timer_.setSingleShot(true);
  // A coarse timer may fire up to 5 % early, which would end a timed run short.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (std::chrono::steady_clock::now() < deadline_) {
      StartStep();
      return;
    }
    onTimeout_();
  });
}

void LongTimer::Start(std::chrono::milliseconds length) {
  const auto now = std::chrono::steady_clock::now();
  // The deadline saturates instead of overflowing the clock.
  const auto room = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::time_point::max() - now);
  deadline_ = now + std::min(std::max(length, std::chrono::milliseconds(0)), room);
  StartStep();
}

void LongTimer::Stop() { timer_.stop(); }

void LongTimer::StartStep() {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
  const auto step = std::clamp(left, std::chrono::milliseconds(0), maxStep_);
  timer_.start(static_cast<int>(step.count()));
}

}  // namespace kvelt::cli
