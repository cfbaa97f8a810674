#include "cli/SettingJson.h"

#include <optional>

#include "cli/JsonText.h"
#include "cli/OutputRowText.h"
#include "config/LocaleNumber.h"

namespace kvelt::cli {
namespace {

// A number that get printed ('.'), as JSON; otherwise the text as a string.
std::string NumberOrString(const std::string& text) {
  return ParseLocaleReal(text, ".") ? text : JsonString(text);
}

std::string OutputJson(const std::string& text) {
  std::string why;
  const std::optional<OutputRow> row = ParseOutputRow(text, why);
  if (!row) return JsonString(text);
  const auto field = [&text](int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find(':', start) + 1;
    return text.substr(start, text.find(':', start) - start);
  };
  JsonObject object;
  object.Bool("enabled", row->Enabled)
      .String("source", field(1))
      .String("comparison", field(2))
      .Raw("threshold", NumberOrString(row->Threshold))
      .String("logic", field(4))
      .String("second-comparison", field(5))
      .Raw("second-threshold", NumberOrString(row->SecondThreshold))
      .Bool("active", row->State == 1);
  return object.Text();
}

}  // namespace

std::string SettingJson(const SettingAssignment& setting) {
  JsonObject object;
  object.String("setting", SettingName(setting.Kind, setting.Index));
  const std::string& value = setting.Value;
  switch (setting.Kind) {
    case SettingKind::Resolution:
    case SettingKind::Coefficient:
    case SettingKind::ModbusAddress:
    case SettingKind::ModbusBaudRate:
      object.Raw("value", NumberOrString(value));
      break;
    case SettingKind::ZeroMarker:
      if (value == "yes" || value == "no") {
        object.Bool("value", value == "yes");
      } else {
        object.String("value", value);
      }
      break;
    case SettingKind::GateTime: {
      const bool ms = value.size() > 2 && value.compare(value.size() - 2, 2, "ms") == 0;
      const std::string number = ms ? value.substr(0, value.size() - 2) : value;
      if (ms && ParseDecimalInteger(number)) {
        object.Raw("value", number).String("unit", "ms");
      } else {
        object.String("value", value);
      }
      break;
    }
    case SettingKind::Output:
      object.Raw("value", OutputJson(value));
      break;
  }
  return object.Text();
}

}  // namespace kvelt::cli
