#include "device/linux/HidrawHandle.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kvelt::hid {
namespace {

bool IsGoneError(int error) { return error == EIO || error == ENODEV; }

}  // namespace

std::unique_ptr<HidrawHandle> HidrawHandle::Open(const std::string& path, HidOpenMode mode) {
  if (path.empty()) return nullptr;
  if (mode == HidOpenMode::MetadataOnly) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return nullptr;
    return Adopt(-1);
  }
  const int flags =
      mode == HidOpenMode::ReadWrite ? (O_RDWR | O_CLOEXEC) : (O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return nullptr;
  return Adopt(fd);
}

std::unique_ptr<HidrawHandle> HidrawHandle::Adopt(int deviceFd) {
  int stopFd = -1;
  if (deviceFd >= 0) {
    stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd < 0) {
      ::close(deviceFd);
      return nullptr;
    }
  }
  return std::unique_ptr<HidrawHandle>(new HidrawHandle(deviceFd, stopFd));
}

HidrawHandle::HidrawHandle(int deviceFd, int stopFd) : deviceFd_(deviceFd), stopFd_(stopFd) {}

HidrawHandle::~HidrawHandle() {
  if (deviceFd_ >= 0) ::close(deviceFd_);
  if (stopFd_ >= 0) ::close(stopFd_);
}

HidReadResult HidrawHandle::Read(std::uint8_t* buffer, std::size_t length) {
  HidReadResult result;
  if (deviceFd_ < 0) {
    result.State = HidReadResult::Status::Failed;
    result.Error = EBADF;
    return result;
  }
  for (;;) {
    if (stopRequested_.load(std::memory_order_acquire)) {
      result.State = HidReadResult::Status::Stopped;
      return result;
    }
    pollfd fds[2] = {{deviceFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      result.State = HidReadResult::Status::Failed;
      result.Error = errno;
      return result;
    }
    // The eventfd is never drained, so once a stop was asked for every later poll sees it too.
    if (fds[1].revents != 0) {
      result.State = HidReadResult::Status::Stopped;
      return result;
    }
    if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      result.State = HidReadResult::Status::Gone;
      return result;
    }
    if ((fds[0].revents & POLLIN) == 0) continue;
    bool retry = false;
    result = ReadReadyReport(buffer, length, retry);
    if (!retry) return result;
  }
}

HidReadResult HidrawHandle::ReadReadyReport(std::uint8_t* buffer, std::size_t length, bool& retry) {
  HidReadResult result;
  // hidraw hands out one report per read() and drops what does not fit, so a
  // zero-length buffer still consumes the report through a scratch byte
  // (a 0-byte read would otherwise look like a hang-up).
  std::uint8_t scratch = 0;
  std::uint8_t* target = length == 0 ? &scratch : buffer;
  const std::size_t count = length == 0 ? 1 : length;
  const ssize_t n = ::read(deviceFd_, target, count);
  if (n > 0) {
    result.State = HidReadResult::Status::Report;
    result.Bytes = length == 0 ? 0 : static_cast<std::size_t>(n);
    return result;
  }
  if (n == 0) {
    result.State = HidReadResult::Status::Gone;
    return result;
  }
  const int error = errno;
  if (error == EINTR || error == EAGAIN || error == EWOULDBLOCK) {
    retry = true;
    return result;
  }
  result.State = IsGoneError(error) ? HidReadResult::Status::Gone : HidReadResult::Status::Failed;
  result.Error = error;
  return result;
}

void HidrawHandle::RequestStop() {
  stopRequested_.store(true, std::memory_order_release);
  if (stopFd_ < 0) return;
  const std::uint64_t one = 1;
  // Only fails when the counter would overflow, and then it is readable already.
  ssize_t n = 0;
  do {
    n = ::write(stopFd_, &one, sizeof one);
  } while (n < 0 && errno == EINTR);
}

bool HidrawHandle::Write(const std::uint8_t* data, std::size_t length, std::size_t& written) {
  written = 0;
  if (deviceFd_ < 0) return false;
  ssize_t n = 0;
  do {
    n = ::write(deviceFd_, data, length);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return false;
  written = static_cast<std::size_t>(n);
  return written == length;
}

}  // namespace kvelt::hid
