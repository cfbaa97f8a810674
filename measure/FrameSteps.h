#pragma once

namespace kvelt {

// What a channel frame (100..103) calls out to after its reading is stored, on the main thread
// inside the handling of one inbound report. Channels are 0..3.
class FrameSteps {
 public:
  virtual ~FrameSteps() = default;

  virtual int UnitSelection() const = 0;  // read at every frame; -1 = no selection
  virtual void RefreshReadouts(int channel) = 0;
  virtual bool RecordingTick() = 0;  // channel 4 only; false ends the handling of the report

 protected:
  FrameSteps() = default;
  FrameSteps(const FrameSteps&) = default;
  FrameSteps& operator=(const FrameSteps&) = default;
};

}  // namespace kvelt
