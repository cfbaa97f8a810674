#include "measure/RecordPacer.h"

namespace kvelt {

bool RecordPacer::Tick(int periodIndex) {
  ++recordFrameCounter_;  // unsigned: wraps rather than overflows
  if (periodIndex < 0 || periodIndex >= static_cast<int>(SavePeriodFrames.size())) {
    return false;
  }
  if (recordFrameCounter_ < SavePeriodFrames[static_cast<std::size_t>(periodIndex)]) {
    return false;
  }
  recordFrameCounter_ = 0;
  return true;
}

}  // namespace kvelt
