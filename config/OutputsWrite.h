#pragma once

#include <string_view>
#include <vector>

#include "config/OutputRow.h"
#include "protocol/OutputsConfig.h"

namespace kvelt {

enum class OutputBox { Threshold, SecondThreshold };  // N, M

struct RefusedBox {
  int Row = 0;  // 0..4 for outputs 1..5
  OutputBox Box = OutputBox::Threshold;
  bool operator==(const RefusedBox&) const = default;
};

// Both halves of the outputs configuration built from the five rows, or the boxes whose text did
// not convert. Refused lists every box refused, in the order checked: N of every ticked row, then
// M of every ticked row whose logic is not "---". When it is not empty the halves are not built
// (left zero) and nothing may be sent.
struct OutputsWrite {
  std::vector<RefusedBox> Refused;
  OutputsFirstHalf First;
  OutputsSecondHalf Second;
  bool Ok() const { return Refused.empty(); }
};

// The list positions are carried from every row, ticked or not. A row that is off sends its
// thresholds as 0.0; a ticked row with logic "---" sends its second threshold as 0.0 and its M text
// is not looked at. A threshold that converts but does not fit a single is refused.
OutputsWrite BuildOutputsWrite(const OutputRows& rows, std::string_view decimalSeparator);

}  // namespace kvelt
