#include "cli/SettingAssignment.h"

#include <array>

namespace kvelt::cli {
namespace {

struct KindName {
  SettingKind Kind;
  std::string_view Name;
};

constexpr std::array<KindName, 8> kNames{{
    {SettingKind::Resolution, "resolution"},
    {SettingKind::Coefficient, "coefficient"},
    {SettingKind::ZeroMarker, "zero-marker"},
    {SettingKind::GateTime, "gate-time"},
    {SettingKind::ModbusAddress, "modbus-address"},
    {SettingKind::ModbusBaudRate, "modbus-baud"},
    {SettingKind::Output, "output"},
    {SettingKind::Output, "outputs"},
}};

constexpr std::string_view kKnownNames =
    "resolution, coefficient, zero-marker, gate-time, modbus-address, modbus-baud or output";

}  // namespace

bool PerChannel(SettingKind kind) {
  return kind == SettingKind::Resolution || kind == SettingKind::Coefficient ||
         kind == SettingKind::ZeroMarker;
}

std::optional<SettingAssignment> ParseSettingName(std::string_view name, std::string& why) {
  const std::size_t dot = name.find('.');
  const std::string_view base = name.substr(0, dot);
  const KindName* found = nullptr;
  for (const KindName& entry : kNames) {
    if (entry.Name == base) found = &entry;
  }
  if (found == nullptr) {
    why = "unknown setting \"" + std::string(base) + "\" (" + std::string(kKnownNames) + ")";
    return std::nullopt;
  }
  SettingAssignment setting;
  setting.Kind = found->Kind;
  if (dot == std::string_view::npos) return setting;
  const std::string_view index = name.substr(dot + 1);
  const bool output = setting.Kind == SettingKind::Output;
  const char last = output ? '5' : '4';
  if (!PerChannel(setting.Kind) && !output) {
    why = std::string(base) + " is one setting of the whole counter and takes no number";
    return std::nullopt;
  }
  if (index.size() != 1 || index[0] < '1' || index[0] > last) {
    why = std::string(base) + " takes " + (output ? "an output 1..5" : "a channel 1..4") + ", not \"" +
          std::string(index) + "\"";
    return std::nullopt;
  }
  setting.Index = index[0] - '1';
  return setting;
}

std::optional<SettingAssignment> ParseSettingAssignment(std::string_view text, std::string& why) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    why = "\"" + std::string(text) + "\" is not name=value";
    return std::nullopt;
  }
  std::optional<SettingAssignment> setting = ParseSettingName(text.substr(0, equals), why);
  if (!setting) return std::nullopt;
  if (setting->Kind == SettingKind::Output && setting->Index < 0) {
    why = "output takes the number of the output, output.1..output.5";
    return std::nullopt;
  }
  setting->Value = std::string(text.substr(equals + 1));
  return setting;
}

std::string SettingName(SettingKind kind, int index) {
  std::string name;
  for (const KindName& entry : kNames) {
    if (entry.Kind == kind) {
      name = entry.Name;
      break;
    }
  }
  if (index >= 0) name += "." + std::to_string(index + 1);
  return name;
}

}  // namespace kvelt::cli
