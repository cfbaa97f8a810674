#include "cli/RecordColumnsText.h"

#include <algorithm>

namespace kvelt::cli {
namespace {

std::optional<RecordColumn> ColumnNamed(std::string_view name) {
  using Kind = RecordColumn::Kind;
  if (name == "date") return RecordColumn{Kind::Date, 0};
  if (name == "time") return RecordColumn{Kind::Time, 0};
  if (name.size() != 4) return std::nullopt;
  const std::string_view stem = name.substr(0, 3);
  const int number = name[3] - '1';
  if ((stem == "pos" || stem == "ver") && number >= 0 && number < 4)
    return RecordColumn{stem == "pos" ? Kind::Position : Kind::Speed, number};
  if (stem == "out" && number >= 0 && number < 5) return RecordColumn{Kind::Output, number};
  return std::nullopt;
}

}  // namespace

std::vector<RecordColumn> AllValueColumns() {
  std::vector<RecordColumn> columns;
  for (int channel = 0; channel < 4; ++channel) {
    columns.push_back({RecordColumn::Kind::Position, channel});
    columns.push_back({RecordColumn::Kind::Speed, channel});
  }
  return columns;
}

std::optional<std::vector<RecordColumn>> ParseRecordColumns(std::string_view text, std::string& why) {
  std::vector<RecordColumn> columns;
  const auto add = [&columns, &why](const RecordColumn& column) {
    if (std::find(columns.begin(), columns.end(), column) != columns.end()) {
      why = "column \"" + ColumnName(column) + "\" is named twice";
      return false;
    }
    columns.push_back(column);
    return true;
  };
  for (;;) {
    const std::size_t comma = text.find(',');
    const std::string_view name = text.substr(0, comma);
    if (name == "all") {
      for (const RecordColumn& column : AllValueColumns()) {
        if (!add(column)) return std::nullopt;
      }
    } else if (const std::optional<RecordColumn> column = ColumnNamed(name)) {
      if (!add(*column)) return std::nullopt;
    } else {
      why = "unknown column \"" + std::string(name) +
            "\" (date, time, pos1..pos4, ver1..ver4, out1..out5, all)";
      return std::nullopt;
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return columns;
}

std::string ColumnName(const RecordColumn& column) {
  const std::string number = std::to_string(column.Index + 1);
  switch (column.What) {
    case RecordColumn::Kind::Date:
      return "date";
    case RecordColumn::Kind::Time:
      return "time";
    case RecordColumn::Kind::Position:
      return "pos" + number;
    case RecordColumn::Kind::Speed:
      return "ver" + number;
    case RecordColumn::Kind::Output:
      return "out" + number;
  }
  return {};
}

RecordColumns ColumnSet(const std::vector<RecordColumn>& columns) {
  RecordColumns set;
  for (const RecordColumn& column : columns) {
    const auto index = static_cast<std::size_t>(column.Index);
    switch (column.What) {
      case RecordColumn::Kind::Date:
        set.Date = true;
        break;
      case RecordColumn::Kind::Time:
        set.Time = true;
        break;
      case RecordColumn::Kind::Position:
        set.Position[index] = true;
        break;
      case RecordColumn::Kind::Speed:
        set.Speed[index] = true;
        break;
      case RecordColumn::Kind::Output:  // the states come with channel 4's frame, which writes the line
        break;
    }
  }
  return set;
}

}  // namespace kvelt::cli
