#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/OutboundReport.h"

namespace kvelt {

// One-shot commands: zero a channel's position, gate time, MODBUS address and baud rate. The
// list-based requests take the selected list position and give nullopt (nothing to send) when it
// is outside the list.

// Code 106 for channel 0..3 (from the "Zeruj pozycję" button's name).
OutboundReport ClearPositionRequest(int channel);

inline constexpr int kGateTimeCount = 12;

// The gate time in milliseconds of a `TimeList` position: 10, 20, 50, 100, ... 50000.
std::optional<std::uint32_t> GateTimeMilliseconds(int position);

// The twelve `TimeList` items, "0,01   [s]" .. "50,0   [s]" (three blanks before the unit; the
// same in both languages, position 2 reading "0,05   [s]" as it sends 50 ms).
const std::array<std::string_view, kGateTimeCount>& GateTimeLabels();

// Code 110 with the gate time of the position.
std::optional<OutboundReport> GateTimeRequest(int position);

inline constexpr int kModbusAddressCount = 247;

// The `mod_adr` items "1".."247".
std::array<std::string, kModbusAddressCount> ModbusAddressLabels();

// Code 109 with the address shown at the position: position + 1, for positions 0..246.
std::optional<OutboundReport> ModbusAddressRequest(int position);

inline constexpr int kModbusBaudRateCount = 4;

// The `mod_br` items "19200", "38400", "57600", "115200".
const std::array<std::string_view, kModbusBaudRateCount>& ModbusBaudRateLabels();

// Code 111 with the list position 0..3 (not the rate).
std::optional<OutboundReport> ModbusBaudRateRequest(int position);

}  // namespace kvelt
