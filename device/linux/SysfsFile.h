#pragma once

// Reading of binary sysfs attributes (such as a HID device's report_descriptor).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvelt::hid {

// The whole content of the file, at most maxBytes of it; nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadBinaryFile(const std::string& path, std::size_t maxBytes);

}  // namespace kvelt::hid
