#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "measure/RecordLine.h"

namespace kvelt::cli {

// The columns a --columns list names: "date", "time", "pos1".."pos4", "ver1".."ver4", separated
// by commas, or "all" for the eight values. The line keeps its own order whatever the order here.
// nullopt with `why` set for an unknown name or an empty list.
std::optional<RecordColumns> ParseRecordColumns(std::string_view text, std::string& why);

// The eight values, no date or time.
RecordColumns AllValueColumns();

}  // namespace kvelt::cli
