#include "device/linux/SysfsFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kvelt::hid {

std::optional<std::vector<std::uint8_t>> ReadBinaryFile(const std::string& path, std::size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::vector<std::uint8_t> content;
  std::uint8_t chunk[4096];
  bool ok = true;
  while (content.size() < maxBytes) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    const std::size_t take = std::min(static_cast<std::size_t>(n), maxBytes - content.size());
    content.insert(content.end(), chunk, chunk + take);
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return content;
}

}  // namespace kvelt::hid
