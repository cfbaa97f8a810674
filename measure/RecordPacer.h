#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kvelt {

// Recording period of each entry of the period list, in channel-4 frames (one frame ~ 10 ms).
inline constexpr std::array<std::uint32_t, 9> SavePeriodFrames{0,    10,    100,    1000,  3000,
                                                               6000, 60000, 180000, 360000};

// The entries of the period list as it shows them, in the same order.
inline constexpr std::array<std::string_view, SavePeriodFrames.size()> SavePeriodLabels{
    "10 ms", "100 ms", "1 s", "10 s", "30 s", "1 min", "10 min", "30 min", "1 h"};

// Counts channel-4 frames and tells when a recording period ends. The count runs whether or not
// recording is on; starting or stopping the recording never touches it.
class RecordPacer {
 public:
  // One channel-4 frame. `periodIndex` selects the entry of SavePeriodFrames; an index outside the
  // table (no selection) still counts the frame but never ends a period. Returns true at a period
  // boundary, where the count starts again from 0.
  bool Tick(int periodIndex);

  std::uint32_t RecordFrameCounter() const { return recordFrameCounter_; }

 private:
  std::uint32_t recordFrameCounter_ = 0;
};

}  // namespace kvelt
