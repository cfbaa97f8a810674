#include "measure/qt/LineRecorder.h"

#include <utility>

#include "measure/qt/LocaleRecordLine.h"

namespace kvelt {

LineRecorder::LineRecorder(std::function<RecordTarget()> target)
    : target_(std::move(target)), separator_(SystemDecimalSeparator()) {}

void LineRecorder::Restart() {
  pacer_ = RecordPacer();
  heard_ = {};
}

void LineRecorder::NoteChannelFrame(int channel) {
  if (channel >= 0 && channel < kChannelCount) heard_[static_cast<std::size_t>(channel)] = true;
}

bool LineRecorder::ColumnsHeardFrom(const RecordColumns& columns) const {
  for (std::size_t channel = 0; channel < heard_.size(); ++channel) {
    if ((columns.Position[channel] || columns.Speed[channel]) && !heard_[channel]) return false;
  }
  return true;
}

LineRecorder::Outcome LineRecorder::OnChannel4Frame(int periodIndex, bool recording,
                                                    const ChannelReadingArray& readings) {
  if (!pacer_.Tick(periodIndex) || !recording) return Outcome::NotDue;
  const RecordTarget target = target_();
  if (!ColumnsHeardFrom(target.Columns)) return Outcome::Waiting;
  const std::string line =
      target.Compose ? target.Compose(readings)
                     : ComposeLocaleRecordLine(target.Columns, readings, target.Decimals, clock_, separator_);
  lastFailure_ = {};
  const AppendResult result =
      target.Write ? target.Write(line) : AppendLineToFile(target.Path, line, lastFailure_);
  switch (result) {
    case AppendResult::Written:
      ++written_;
      return Outcome::Written;
    case AppendResult::OpenFailed:
      return Outcome::OpenFailed;
    case AppendResult::WriteFailed:
      return Outcome::WriteFailed;
  }
  return Outcome::WriteFailed;
}

}  // namespace kvelt
