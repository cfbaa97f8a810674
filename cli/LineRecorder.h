#pragma once

#include <string>

#include "measure/ChannelReading.h"
#include "measure/RecordFile.h"
#include "measure/RecordLine.h"
#include "measure/RecordPacer.h"
#include "measure/qt/RecordClock.h"

namespace kvelt::cli {

// The window's recording step without the window: on every channel-4 frame the period counter
// ticks, and at the end of a period one line of the chosen columns, in the user's regional
// settings (taken when the recorder is made), is appended to the file (opened and closed for each line, a
// failed line cut back out).
class LineRecorder {
 public:
  enum class Outcome { NotDue, Written, OpenFailed, WriteFailed };

  // `path` in the file system's encoding; `periodIndex` a position of the period list.
  LineRecorder(std::string path, RecordColumns columns, int decimals, int periodIndex);

  Outcome OnChannel4Frame(const ChannelReadingArray& readings);

  long long LinesWritten() const { return written_; }

 private:
  std::string path_;
  RecordColumns columns_;
  int decimals_;
  int periodIndex_;
  RecordPacer pacer_;
  // The user's regional settings, taken once for the whole run.
  RecordClock clock_;
  std::string separator_;
  long long written_ = 0;
};

}  // namespace kvelt::cli
