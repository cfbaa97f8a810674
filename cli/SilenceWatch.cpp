#include "cli/SilenceWatch.h"

#include <utility>

namespace kvelt::cli {

SilenceWatch::SilenceWatch(std::chrono::milliseconds timeout, std::function<std::uint64_t()> frameCount,
                           std::function<void()> onSilence)
    : frameCount_(std::move(frameCount)), onSilence_(std::move(onSilence)), seen_(frameCount_()) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    const std::uint64_t now = frameCount_();
    if (now != seen_) {
      seen_ = now;
      return;
    }
    timer_.stop();
    silent_ = true;
    onSilence_();
  });
  timer_.start(timeout);
}

}  // namespace kvelt::cli
