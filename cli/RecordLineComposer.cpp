#include "cli/RecordLineComposer.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "cli/JsonText.h"
#include "cli/MachineNumberText.h"
#include "cli/TimestampText.h"
#include "measure/FixedPointFormat.h"

namespace kvelt::cli {
namespace {

constexpr int kWindowPrecision = 15;

std::string CsvField(std::string text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

RecordLineComposer::RecordLineComposer(RecordLayout layout, std::function<std::string()> dateText,
                                       std::function<std::string()> timeText)
    : layout_(std::move(layout)), dateText_(std::move(dateText)), timeText_(std::move(timeText)) {}

std::string RecordLineComposer::TimestampText(std::chrono::system_clock::time_point now) const {
  return layout_.Timestamp == TimestampForm::Iso ? IsoTimestamp(now) : std::to_string(EpochMilliseconds(now));
}

std::string RecordLineComposer::Header() const {
  std::vector<std::string> names;
  if (layout_.Timestamp != TimestampForm::None) names.emplace_back("timestamp");
  for (const RecordColumn& column : layout_.Columns) names.push_back(ColumnName(column));
  std::string line;
  switch (layout_.Format) {
    case RecordFormat::Window:
      for (const std::string& name : names) line += name + ";";
      return line + "\r\n";
    case RecordFormat::Csv:
      for (std::size_t i = 0; i < names.size(); ++i) line += (i > 0 ? "," : "") + names[i];
      return line + "\n";
    case RecordFormat::Ndjson:
      break;
  }
  return {};
}

std::string RecordLineComposer::Line(const ChannelReadingArray& readings, std::uint8_t outputs,
                                     std::chrono::system_clock::time_point now) const {
  // Every field as text (JSON members already in JSON), then joined in the format's way.
  const bool json = layout_.Format == RecordFormat::Ndjson;
  const bool window = layout_.Format == RecordFormat::Window;
  std::vector<std::pair<std::string, std::string>> fields;
  if (layout_.Timestamp != TimestampForm::None) {
    const std::string stamp = TimestampText(now);
    fields.emplace_back("time", json && layout_.Timestamp == TimestampForm::Iso ? JsonString(stamp) : stamp);
  }
  for (const RecordColumn& column : layout_.Columns) {
    std::string text;
    const auto value = [&](float number) {
      if (window)
        return FormatFixedPoint(number, kWindowPrecision, layout_.Decimals, layout_.DecimalSeparator)
            .value_or("---");
      return FullPrecisionText(number).value_or(json ? "null" : "");
    };
    const auto channel = static_cast<std::size_t>(column.Index);
    switch (column.What) {
      case RecordColumn::Kind::Date:
        text = dateText_();
        // The window writes its date with ':' for '-'.
        if (window) std::replace(text.begin(), text.end(), '-', ':');
        text = json ? JsonString(text) : window ? text : CsvField(text);
        break;
      case RecordColumn::Kind::Time:
        text = timeText_();
        text = json ? JsonString(text) : window ? text : CsvField(text);
        break;
      case RecordColumn::Kind::Position:
        text = value(readings[channel].Position);
        break;
      case RecordColumn::Kind::Speed:
        text = value(readings[channel].Speed);
        break;
      case RecordColumn::Kind::Output: {
        const bool on = ((outputs >> column.Index) & 1u) != 0;
        text = json ? (on ? "true" : "false") : (on ? "1" : "0");
        break;
      }
    }
    fields.emplace_back(ColumnName(column), std::move(text));
  }
  std::string line;
  switch (layout_.Format) {
    case RecordFormat::Window:
      for (const auto& field : fields) line += field.second + ";";
      return line + "\r\n";
    case RecordFormat::Csv:
      for (std::size_t i = 0; i < fields.size(); ++i) line += (i > 0 ? "," : "") + fields[i].second;
      return line + "\n";
    case RecordFormat::Ndjson: {
      JsonObject object;
      for (const auto& field : fields) object.Raw(field.first, field.second);
      return object.Text() + "\n";
    }
  }
  return line;
}

std::string RecordLineComposer::Event(std::string_view event, std::string_view detail,
                                      std::chrono::system_clock::time_point now) const {
  switch (layout_.Format) {
    case RecordFormat::Window:
      return {};
    case RecordFormat::Csv:
      return "# " + IsoTimestamp(now) + " " + std::string(event) + ": " + std::string(detail) + "\n";
    case RecordFormat::Ndjson: {
      JsonObject object;
      if (layout_.Timestamp == TimestampForm::EpochMs) {
        object.Integer("time", EpochMilliseconds(now));
      } else {
        object.String("time", IsoTimestamp(now));
      }
      return object.String("event", event).String("detail", detail).Text() + "\n";
    }
  }
  return {};
}

}  // namespace kvelt::cli
