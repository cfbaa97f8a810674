#include "device/linux/NodeClose.h"

#include <unistd.h>

#include <system_error>
#include <thread>

#include "device/linux/HidrawWriter.h"

namespace kvelt::hid {

void CloseNode(int fd) {
  if (fd < 0) return;
  if (HidrawWriter::WritesInFlight()) {
    try {
      std::thread([fd] { ::close(fd); }).detach();
      return;
    } catch (const std::system_error&) {
    }
  }
  ::close(fd);
}

}  // namespace kvelt::hid
