#pragma once

#include <cstdint>

#include "protocol/OutboundReport.h"
#include "protocol/OutputsConfig.h"

namespace kvelt {

// One builder per request code. Channels are 0..3 for channels 1..4.
OutboundReport BuildSetResolution(std::uint8_t channel,
                                  std::uint32_t resolution);                  // 104: channel, resolution x4
OutboundReport BuildSetCoefficient(std::uint8_t channel, float coefficient);  // 105: channel, real
OutboundReport BuildClearPosition(std::uint8_t channel);                      // 106: channel
OutboundReport BuildWriteOutputsFirst(const OutputsFirstHalf& half);          // 107: 30 bytes
OutboundReport BuildReadOutputsFirst();                                       // 108: code only
OutboundReport BuildSetModbusAddress(std::uint8_t address);                   // 109: address 1..247
OutboundReport BuildSetGateTime(std::uint32_t milliseconds);                  // 110: u32 milliseconds
OutboundReport BuildSetModbusBaudRate(std::uint8_t position);                 // 111: list position 0..3
OutboundReport BuildWriteOutputsSecond(const OutputsSecondHalf& half);        // 112: 30 bytes
OutboundReport BuildReadOutputsSecond();                                      // 113: code only
OutboundReport BuildGetResolution(std::uint8_t channel);                      // 114: channel
OutboundReport BuildGetCoefficient(std::uint8_t channel);                     // 115: channel
OutboundReport BuildSetZeroMarker(std::uint8_t channel, std::uint8_t flag);   // 116: channel, flag
OutboundReport BuildGetZeroMarker(std::uint8_t channel);                      // 117: channel

}  // namespace kvelt
