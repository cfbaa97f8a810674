#pragma once

#include <cstdint>

namespace kvelt {

// The code byte that opens every report exchanged with the counter, in both directions.
enum class DeviceCommand : std::uint8_t {
  cmdChannel1Frame = 100,
  cmdChannel2Frame,
  cmdChannel3Frame,
  cmdChannel4Frame,
  cmdSetResolution,
  cmdSetCoefficient,
  cmdClearPosition,
  cmdWriteOutputsFirst,
  cmdReadOutputsFirst,
  cmdSetModbusAddress,
  cmdSetGateTime,
  cmdSetModbusBaudRate,
  cmdWriteOutputsSecond,
  cmdReadOutputsSecond,
  cmdGetResolution,
  cmdGetCoefficient,
  cmdSetZeroMarker,
  cmdGetZeroMarker,
};

inline constexpr std::uint8_t kFirstDeviceCommandCode = 100;
inline constexpr std::uint8_t kLastDeviceCommandCode = 117;

constexpr std::uint8_t CodeOf(DeviceCommand command) { return static_cast<std::uint8_t>(command); }

constexpr bool IsDeviceCommandCode(std::uint8_t code) {
  return code >= kFirstDeviceCommandCode && code <= kLastDeviceCommandCode;
}

}  // namespace kvelt
