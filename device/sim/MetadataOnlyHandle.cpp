#include "device/sim/MetadataOnlyHandle.h"

#include <cerrno>

namespace kvelt::hid::sim {

HidReadResult MetadataOnlyHandle::Read(std::uint8_t*, std::size_t) {
  return {HidReadResult::Status::Failed, 0, EBADF};
}

bool MetadataOnlyHandle::Write(const std::uint8_t*, std::size_t, std::size_t& written) {
  written = 0;
  return false;
}

}  // namespace kvelt::hid::sim
