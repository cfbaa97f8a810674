#pragma once

#include <array>
#include <cstdint>

namespace kvelt {

// Recording period of each entry of the period list, in channel-4 frames (one frame ~ 10 ms).
inline constexpr std::array<std::uint32_t, 9> SavePeriodFrames{0,    10,    100,    1000,  3000,
                                                               6000, 60000, 180000, 360000};

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
