// Feeds arbitrary bytes to the HID report descriptor parser: it must never
// read past its input, crash or hang, and its lengths must stay consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "device/linux/HidReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kvelt::hid::HidReportDescriptor;
  using kvelt::hid::HidReportKind;
  const auto parsed = HidReportDescriptor::Parse(data, size);
  for (const auto kind : {HidReportKind::Input, HidReportKind::Output, HidReportKind::Feature}) {
    const std::uint64_t length = parsed.ReportByteLength(kind);
    for (int id = 0; id < 256; ++id) {
      const std::uint64_t bits = parsed.ReportBits(kind, static_cast<std::uint8_t>(id));
      // Every report fits in the longest one (the 16-bit ceiling aside).
      const std::uint64_t bytes = bits / 8 + (bits % 8 != 0 ? 1 : 0) + 1;
      if (bits > 0 && length < (bytes < 65535 ? bytes : 65535)) std::abort();
    }
  }
  // A prefix of a well-formed descriptor ends between items or inside one; either way it parses.
  if (size > 1) HidReportDescriptor::Parse(data, size / 2);
  return 0;
}
