#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvelt::gadget {

// The counter's HID report descriptor: one vendor-defined collection with report id 1, an
// input and an output report of `payloadBytes` bytes each (the report id comes on top).
std::vector<std::uint8_t> CounterReportDescriptor(std::size_t payloadBytes);

}  // namespace kvelt::gadget
