#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvelt::cli {

// The counter's settings as `get` prints them and `set` takes them, one per word:
//   resolution.N=  coefficient.N=  zero-marker.N=   channel N 1..4; without ".N" every channel
//   gate-time=  modbus-address=  modbus-baud=
//   output.K=   output K 1..5, the row form of OutputRowText
enum class SettingKind {
  Resolution,
  Coefficient,
  ZeroMarker,
  GateTime,
  ModbusAddress,
  ModbusBaudRate,
  Output
};

struct SettingAssignment {
  SettingKind Kind = SettingKind::Resolution;
  int Index = -1;  // channel 0..3 or output row 0..4; -1 = every channel (per-channel settings only)
  std::string Value;
};

// The name part alone ("resolution.2", "outputs", "gate-time"), as `get` takes it: `Index` -1 for
// a name without ".N". The plural "outputs" and "output" name every row.
std::optional<SettingAssignment> ParseSettingName(std::string_view name, std::string& why);

// "name=value". nullopt with `why` set for an unknown name, an index out of range or no '='.
std::optional<SettingAssignment> ParseSettingAssignment(std::string_view text, std::string& why);

// "resolution.2", "gate-time", "output.5": the name a setting is printed under.
std::string SettingName(SettingKind kind, int index);

// Whether a setting is kept per channel (and so takes ".1".."4").
bool PerChannel(SettingKind kind);

}  // namespace kvelt::cli
