#pragma once

#include <cstdint>

namespace kvelt::hid {

// The HID capabilities the application reads; all zero when they could not be had.
struct THidCaps {
  std::uint16_t InputReportByteLength = 0;   // longest input report, report-id byte included
  std::uint16_t OutputReportByteLength = 0;  // longest output report, report-id byte included
};

}  // namespace kvelt::hid
