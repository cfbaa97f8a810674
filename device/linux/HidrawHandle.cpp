#include "device/linux/HidrawHandle.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "device/linux/NodeClose.h"

namespace kvelt::hid {
namespace {

bool IsGoneError(int error) { return error == EIO || error == ENODEV; }

}  // namespace

std::unique_ptr<HidrawHandle> HidrawHandle::Open(const std::string& path, HidOpenMode mode,
                                                 bool numberedReports, int* error) {
  int ignored = 0;
  int& failure = error != nullptr ? *error : ignored;
  failure = 0;
  if (path.empty()) {
    failure = ENOENT;
    return nullptr;
  }
  if (mode == HidOpenMode::MetadataOnly) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
      failure = errno;
      return nullptr;
    }
    return Adopt(-1, numberedReports);
  }
  const int flags =
      mode == HidOpenMode::ReadWrite ? (O_RDWR | O_CLOEXEC) : (O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    failure = errno;
    return nullptr;
  }
  return Adopt(fd, numberedReports);
}

std::unique_ptr<HidrawHandle> HidrawHandle::Adopt(int deviceFd, bool numberedReports) {
  int stopFd = -1;
  if (deviceFd >= 0) {
    stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd < 0) {
      ::close(deviceFd);
      return nullptr;
    }
  }
  return std::unique_ptr<HidrawHandle>(new HidrawHandle(deviceFd, stopFd, numberedReports));
}

HidrawHandle::HidrawHandle(int deviceFd, int stopFd, bool numberedReports)
    : deviceFd_(deviceFd), stopFd_(stopFd), numberedReports_(numberedReports) {}

HidrawHandle::~HidrawHandle() {
  if (stopFd_ >= 0) ::close(stopFd_);
  CloseNode(deviceFd_);
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
  // buffer with no room for report data still consumes the report through a scratch
  // byte (a 0-byte read would otherwise look like a hang-up). A device without numbered
  // reports gets its report read one byte in, behind the 0 that stands for its id.
  const std::size_t prefix = numberedReports_ ? 0 : 1;
  std::uint8_t scratch = 0;
  const bool roomForData = length > prefix;
  std::uint8_t* target = roomForData ? buffer + prefix : &scratch;
  const std::size_t count = roomForData ? length - prefix : 1;
  const ssize_t n = ::read(deviceFd_, target, count);
  if (n > 0) {
    result.State = HidReadResult::Status::Report;
    if (prefix != 0 && length > 0) buffer[0] = 0;
    result.Bytes = roomForData ? static_cast<std::size_t>(n) + prefix : std::min(length, prefix);
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

// The report goes out as given, id byte first. For a device without numbered reports that
// byte is the 0 the layer above puts there: hidraw expects it and removes it itself before the
// report reaches the device, so removing it here would send the first data byte as an id.
bool HidrawHandle::Write(const std::uint8_t* data, std::size_t length, std::size_t& written) {
  written = 0;
  if (deviceFd_ < 0) return false;
  if (!writer_) {
    // The writer's own descriptor: closing this handle's then never runs the kernel's release
    // (which waits for a write in flight) on the caller's thread.
    const int writerFd = ::fcntl(deviceFd_, F_DUPFD_CLOEXEC, 0);
    if (writerFd < 0) return false;
    try {
      writer_ = std::make_unique<HidrawWriter>(writerFd);
    } catch (const std::system_error&) {
      return false;
    }
  }
  return writer_->Write(data, length, written);
}

}  // namespace kvelt::hid
