#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "measure/ChannelReading.h"

namespace kvelt {

// Which fields a recording line carries.
struct RecordColumns {
  bool Date = false;
  bool Time = false;
  std::array<bool, 4> Position{};  // channels 1..4
  std::array<bool, 4> Speed{};     // channels 1..4
};

// One value field of a recording line, appended to `line`: the value written like the read-outs (15
// significant digits, `decimals` decimals, `decimalSeparator`) and ";", or "---;" when it cannot be
// formatted.
void AppendRecordField(std::string& line, double value, int decimals, std::string_view decimalSeparator);

// One recording line: date, time, then position and speed of channels 1..4 in turn, each ticked
// field followed by ";", the whole ended by CR LF. Values are written like the read-outs (15
// significant digits, `decimals` decimals, `decimalSeparator`); a value that cannot be formatted
// gives "---;". The clock callables are called only for ticked columns, the date before the time
// (two separate clock reads); every '-' of the date text becomes ':'.
std::string ComposeRecordLine(const RecordColumns& columns, const ChannelReadingArray& readings, int decimals,
                              std::string_view decimalSeparator,
                              const std::function<std::string()>& currentDate,
                              const std::function<std::string()>& currentTime);

}  // namespace kvelt
