#include "cli/LineRecorder.h"

#include <utility>

#include "measure/qt/LocaleRecordLine.h"

namespace kvelt::cli {

LineRecorder::LineRecorder(std::string path, RecordColumns columns, int decimals, int periodIndex)
    : path_(std::move(path)),
      columns_(columns),
      decimals_(decimals),
      periodIndex_(periodIndex),
      separator_(SystemDecimalSeparator()) {}

LineRecorder::Outcome LineRecorder::OnChannel4Frame(const ChannelReadingArray& readings) {
  if (!pacer_.Tick(periodIndex_)) return Outcome::NotDue;
  switch (
      AppendLineToFile(path_, ComposeLocaleRecordLine(columns_, readings, decimals_, clock_, separator_))) {
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

}  // namespace kvelt::cli
