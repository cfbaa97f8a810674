#include "device/linux/NodeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>

#include "device/linux/NodeClose.h"

namespace kvelt::hid {
namespace {

class NodeLockHandle final : public HidDeviceLock {
 public:
  explicit NodeLockHandle(int fd) : fd_(fd) {}
  // Closing the descriptor releases the flock; a write in flight would hold the close up.
  ~NodeLockHandle() override { CloseNode(fd_); }
  NodeLockHandle(const NodeLockHandle&) = delete;
  NodeLockHandle& operator=(const NodeLockHandle&) = delete;

 private:
  int fd_;
};

std::optional<unsigned long> ParseNumber(std::string_view text, int base) {
  unsigned long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string ReadWholeFile(const char* path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::optional<int> FlockHolderPid(std::string_view procLocks, dev_t device, ino_t inode) {
  // "1: FLOCK  ADVISORY  WRITE 1234 00:05:1027 0 EOF"; waiters are listed as "1: -> FLOCK ...".
  std::istringstream lines{std::string(procLocks)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string id, kind, mode, access, pid, file;
    if (!(fields >> id >> kind >> mode >> access >> pid >> file) || kind != "FLOCK") continue;
    const std::size_t first = file.find(':');
    const std::size_t second = file.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const auto major = ParseNumber(std::string_view(file).substr(0, first), 16);
    const auto minor = ParseNumber(std::string_view(file).substr(first + 1, second - first - 1), 16);
    const auto node = ParseNumber(std::string_view(file).substr(second + 1), 10);
    const auto holder = ParseNumber(pid, 10);
    if (!major || !minor || !node || !holder) continue;
    if (*major == ::major(device) && *minor == ::minor(device) && *node == inode)
      return static_cast<int>(*holder);
  }
  return std::nullopt;
}

std::string ProgramOfProcess(int pid) {
  std::string name = ReadWholeFile(("/proc/" + std::to_string(pid) + "/comm").c_str());
  while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
  return name;
}

HidLockResult LockNode(const std::string& path) {
  HidLockResult result;
  // O_NONBLOCK: opening a node never waits; nothing is ever read through this descriptor.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return result;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    result.Lock = std::make_unique<NodeLockHandle>(fd);
    return result;
  }
  const int error = errno;
  struct stat status {};
  const bool known = ::fstat(fd, &status) == 0;
  ::close(fd);
  if (error != EWOULDBLOCK) return result;  // a file system without locks: nobody can hold one
  result.InUse = true;
  if (known) {
    if (const auto pid = FlockHolderPid(ReadWholeFile("/proc/locks"), status.st_dev, status.st_ino)) {
      result.Holder.Pid = *pid;
      result.Holder.Program = ProgramOfProcess(*pid);
    }
  }
  return result;
}

}  // namespace kvelt::hid
