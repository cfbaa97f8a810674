#include "cli/RecordColumnsText.h"

namespace kvelt::cli {

RecordColumns AllValueColumns() {
  RecordColumns columns;
  columns.Position.fill(true);
  columns.Speed.fill(true);
  return columns;
}

std::optional<RecordColumns> ParseRecordColumns(std::string_view text, std::string& why) {
  RecordColumns columns;
  bool any = false;
  for (;;) {
    const std::size_t comma = text.find(',');
    const std::string_view name = text.substr(0, comma);
    if (name == "date") {
      columns.Date = true;
    } else if (name == "time") {
      columns.Time = true;
    } else if (name == "all") {
      columns.Position.fill(true);
      columns.Speed.fill(true);
    } else if (name.size() == 4 && (name.substr(0, 3) == "pos" || name.substr(0, 3) == "ver") &&
               name[3] >= '1' && name[3] <= '4') {
      auto& which = name[0] == 'p' ? columns.Position : columns.Speed;
      which[static_cast<std::size_t>(name[3] - '1')] = true;
    } else {
      why = "unknown column \"" + std::string(name) + "\" (date, time, pos1..pos4, ver1..ver4, all)";
      return std::nullopt;
    }
    any = true;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (!any) {
    why = "no columns named";
    return std::nullopt;
  }
  return columns;
}

}  // namespace kvelt::cli
