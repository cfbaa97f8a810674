#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/RecordColumnsText.h"
#include "measure/ChannelReading.h"

namespace kvelt::cli {

// The forms `kvelt record` writes a line in.
enum class RecordFormat {
  Window,  // the window's recording line: locale notation, every field followed by ';', CR LF
  Csv,     // comma-separated, '.' and full precision, LF; date/time quoted where they need it
  Ndjson,  // one JSON object per line, full precision, outputs as true/false
};

enum class TimestampForm { None, Iso, EpochMs };

struct RecordLayout {
  RecordFormat Format = RecordFormat::Window;
  TimestampForm Timestamp = TimestampForm::None;
  std::vector<RecordColumn> Columns;
  int Decimals = 2;                    // the window format only; the others give full precision
  std::string DecimalSeparator = ".";  // the window format only
};

// Builds the lines of one recording in its layout. The locale's date and time texts come from
// the callables (asked for only where a column shows them), the time stamp from `now`.
class RecordLineComposer {
 public:
  RecordLineComposer(RecordLayout layout, std::function<std::string()> dateText,
                     std::function<std::string()> timeText);

  // A first line naming the columns (window and csv formats; empty for ndjson).
  std::string Header() const;
  // One line of the readings and the five outputs' states (bit 0 = output 1).
  std::string Line(const ChannelReadingArray& readings, std::uint8_t outputs,
                   std::chrono::system_clock::time_point now) const;
  // A line that marks an event of the run (the counter gone or back): a '#' comment in csv, an
  // object with "event" in ndjson; empty in the window format, which has no such line.
  std::string Event(std::string_view event, std::string_view detail,
                    std::chrono::system_clock::time_point now) const;

  const RecordLayout& Layout() const { return layout_; }

 private:
  std::string TimestampText(std::chrono::system_clock::time_point now) const;

  RecordLayout layout_;
  std::function<std::string()> dateText_;
  std::function<std::string()> timeText_;
};

}  // namespace kvelt::cli
