#pragma once

#include "device/HidBackend.h"

namespace kvelt::hid::sim {

// A handle that only stands for "the device could be looked at": no reads, no writes.
class MetadataOnlyHandle final : public HidHandle {
 public:
  HidReadResult Read(std::uint8_t* buffer, std::size_t length) override;
  void RequestStop() override {}
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override;
};

}  // namespace kvelt::hid::sim
