#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "measure/ChannelReading.h"
#include "measure/RecordFile.h"
#include "measure/RecordLine.h"
#include "measure/RecordPacer.h"
#include "measure/qt/RecordClock.h"

namespace kvelt {

// What a recording line is made of; asked for afresh at every line, so a change of the chosen
// columns, decimals or file shows in the next line.
struct RecordTarget {
  std::string Path;  // in the file system's encoding
  RecordColumns Columns;
  int Decimals = 2;
  // Where set, they make the line and take it instead of the window's line and file (the command
  // line's other formats and its streams); `Columns` still names the channels the line shows.
  std::function<std::string(const ChannelReadingArray& readings)> Compose;
  std::function<AppendResult(std::string_view line)> Write;
};

// The recording step of the window and the command line: on every channel-4 frame the period
// counter ticks, and at the end of a period one line of the chosen columns, in the user's
// regional settings (taken when the recorder is made), is appended to the file (opened and
// closed for each line, a failed line cut back out).
//
// No line is written until every channel the line shows has sent a frame since the counter was
// (re)connected: before that a channel's reading is the zero it starts from, not a measurement.
class LineRecorder {
 public:
  enum class Outcome { NotDue, Waiting, Written, OpenFailed, WriteFailed };

  explicit LineRecorder(std::function<RecordTarget()> target);

  // The counter was (re)connected: the period count and the channels heard from start afresh.
  void Restart();
  // A frame of channel 0..3 has been stored.
  void NoteChannelFrame(int channel);
  // A channel-4 frame (after NoteChannelFrame for it). `periodIndex` is a position of the period
  // list; without `recording` the count goes on but no line is written.
  Outcome OnChannel4Frame(int periodIndex, bool recording, const ChannelReadingArray& readings);

  long long LinesWritten() const { return written_; }
  // Why the last OpenFailed or WriteFailed line was not written (Cause None from a target's own
  // Write).
  const AppendFailure& LastFailure() const { return lastFailure_; }
  // Channel-4 frames counted in the current period.
  std::uint32_t RecordFrameCounter() const { return pacer_.RecordFrameCounter(); }

 private:
  bool ColumnsHeardFrom(const RecordColumns& columns) const;

  std::function<RecordTarget()> target_;
  RecordPacer pacer_;
  std::array<bool, kChannelCount> heard_{};
  RecordClock clock_;
  std::string separator_;
  long long written_ = 0;
  AppendFailure lastFailure_;
};

}  // namespace kvelt
