#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/OutputRow.h"
#include "config/OutputsFill.h"

namespace kvelt::cli {

// One transistor-output row as text, the eight fields of the window's row separated by ':'
// (the decimal separator may be a comma):
//   enable:source:comparison:threshold:logic:second-comparison:second-threshold:state
//   on|off : pos1..pos4 : less|greater : N : none|and|or : less|greater : M : inactive|active
// "and" and "or" are the logic list's "[and]" and "[or]" entries. A field the counter reported
// outside its list reads "?".
std::string FormatOutputRow(const OutputRowFirstFill& first, const OutputRowSecondFill& second);

// The row a text names, thresholds as typed (they are checked when the write is built, by the
// window's rules). nullopt with `why` set for a text of the wrong shape.
std::optional<OutputRow> ParseOutputRow(std::string_view text, std::string& why);

// The row as the counter last reported it, in the form ParseOutputRow takes.
OutputRow RowFromFills(const OutputRowFirstFill& first, const OutputRowSecondFill& second);

}  // namespace kvelt::cli
