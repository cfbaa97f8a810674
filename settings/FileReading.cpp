#include "settings/FileReading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kvelt {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::size_t maxSize) {
  // O_NONBLOCK: opening a FIFO or a device must not wait for a writer or a carrier.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.Get() < 0)
    return {errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Failed, {}};
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
      static_cast<unsigned long long>(status.st_size) > maxSize) {
    return {FileReadStatus::Failed, {}};
  }
  FileReadResult result{FileReadStatus::Read, {}};
  // Room for one byte more than fstat told, so the end is seen; a file that grows meanwhile
  // is followed up to one byte past the limit, which tells it is too large.
  const std::size_t limit = maxSize + 1;
  result.Content.resize(static_cast<std::size_t>(status.st_size) + 1);
  std::size_t filled = 0;
  while (filled < limit) {
    if (filled == result.Content.size()) result.Content.resize(std::min(limit, 2 * filled));
    const ssize_t count = ::read(file.Get(), result.Content.data() + filled, result.Content.size() - filled);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return {FileReadStatus::Failed, {}};
    if (count == 0) break;
    filled += static_cast<std::size_t>(count);
  }
  if (filled > maxSize) return {FileReadStatus::Failed, {}};
  result.Content.resize(filled);
  return result;
}

}  // namespace kvelt
