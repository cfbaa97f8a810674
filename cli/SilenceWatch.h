#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "cli/LongTimer.h"

namespace kvelt::cli {

// Notices a counter that has stopped sending: every `timeout` it compares the frame count with
// the one it saw before, and when nothing came in between it calls `onSilence` once.
class SilenceWatch {
 public:
  SilenceWatch(std::chrono::milliseconds timeout, std::function<std::uint64_t()> frameCount,
               std::function<void()> onSilence);

  bool Silent() const { return silent_; }

 private:
  void Check();

  std::chrono::milliseconds timeout_;
  std::function<std::uint64_t()> frameCount_;
  std::function<void()> onSilence_;
  LongTimer timer_;
  std::uint64_t seen_ = 0;
  bool silent_ = false;
};

}  // namespace kvelt::cli
