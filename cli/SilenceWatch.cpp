#include "cli/SilenceWatch.h"

#include <utility>

namespace kvelt::cli {

SilenceWatch::SilenceWatch(std::chrono::milliseconds timeout, std::function<std::uint64_t()> frameCount,
                           std::function<void()> onSilence)
    : timeout_(timeout),
      frameCount_(std::move(frameCount)),
      onSilence_(std::move(onSilence)),
      timer_([this] { Check(); }),
      seen_(frameCount_()) {
  timer_.Start(timeout_);
}

void SilenceWatch::Check() {
  const std::uint64_t now = frameCount_();
  if (now != seen_) {
    seen_ = now;
    timer_.Start(timeout_);
    return;
  }
  silent_ = true;
  onSilence_();
}

}  // namespace kvelt::cli
