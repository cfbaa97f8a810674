#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measure/RecordLine.h"

namespace kvelt::cli {

// One column of a recording line.
struct RecordColumn {
  enum class Kind { Date, Time, Position, Speed, Output };
  Kind What = Kind::Position;
  int Index = 0;  // channel 0..3 (position, speed) or output 0..4
  bool operator==(const RecordColumn&) const = default;
};

// The columns a --columns list names, in the order given: "date", "time", "pos1".."pos4",
// "ver1".."ver4", "out1".."out5", separated by commas; "all" stands for the eight values in the
// window's order. nullopt with `why` set for an unknown name, one named twice or an empty list.
std::optional<std::vector<RecordColumn>> ParseRecordColumns(std::string_view text, std::string& why);

// The eight values in the window's order (pos1, ver1, pos2, ... ver4), no date or time.
std::vector<RecordColumn> AllValueColumns();

// "pos1", "ver4", "out5", "date", "time".
std::string ColumnName(const RecordColumn& column);

// Which channels and date/time fields the columns show, as the recorder checks them.
RecordColumns ColumnSet(const std::vector<RecordColumn>& columns);

}  // namespace kvelt::cli
