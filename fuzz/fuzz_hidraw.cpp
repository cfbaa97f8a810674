// Feeds arbitrary reports through a hidraw handle: a SOCK_SEQPACKET socket pair stands in for
// the node, keeping each report whole as hidraw does. Every report is read into a buffer of
// exactly the size the input picks (so AddressSanitizer catches a write past it) and checked:
// the bytes are the report's (behind a 0 id for a device without numbered reports), never more
// than the buffer, and what the reader hands on fits a report id and a 16-bit length. After the
// reports a stop gives Stopped, a hang-up Gone.
//
// Input: byte 0: bit 0 numbered reports, bit 1 end by a stop (else by a hang-up). Then reports,
// each as a buffer-length byte, a length byte and that many bytes.
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "device/THidDeviceReadThread.h"
#include "device/linux/HidrawHandle.h"

namespace {

using kvelt::hid::HidReadResult;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "hidraw invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool numbered = (data[0] & 1) != 0;
  const bool endByStop = (data[0] & 2) != 0;
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return 0;
  const std::unique_ptr<kvelt::hid::HidrawHandle> handle = kvelt::hid::HidrawHandle::Adopt(ends[0], numbered);
  Check(handle != nullptr, "adopt");
  std::size_t at = 1;
  while (at + 2 <= size) {
    const std::size_t bufferLength = data[at];
    const std::size_t reportLength = std::min<std::size_t>(data[at + 1], size - at - 2);
    const std::uint8_t* report = data + at + 2;
    at += 2 + reportLength;
    if (reportLength == 0) continue;  // hidraw never hands out an empty report
    if (::write(ends[1], report, reportLength) != static_cast<ssize_t>(reportLength)) break;
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[std::max<std::size_t>(bufferLength, 1)]);
    const HidReadResult result = handle->Read(buffer.get(), bufferLength);
    Check(result.State == HidReadResult::Status::Report, "a waiting report is read");
    Check(result.Bytes <= bufferLength, "no more than the buffer");
    const std::size_t prefix = numbered ? 0 : 1;
    if (bufferLength > prefix) {
      Check(result.Bytes == prefix + std::min(reportLength, bufferLength - prefix), "the report's length");
      Check(prefix == 0 || buffer[0] == 0, "the 0 id of a device without numbered reports");
      Check(std::memcmp(buffer.get() + prefix, report, result.Bytes - prefix) == 0, "the report's bytes");
    }
    const std::uint32_t delivered =
        kvelt::hid::THidDeviceReadThread::DeliveredLength(result.Bytes, bufferLength);
    Check(delivered <= bufferLength && delivered <= 65536, "the clamp");
  }
  std::uint8_t buffer[64];
  if (endByStop) {
    handle->RequestStop();
    Check(handle->Read(buffer, sizeof buffer).State == HidReadResult::Status::Stopped,
          "a stop ends the read");
  } else {
    ::close(ends[1]);
    ends[1] = -1;
    Check(handle->Read(buffer, sizeof buffer).State == HidReadResult::Status::Gone, "a hang-up is Gone");
  }
  if (ends[1] >= 0) ::close(ends[1]);
  return 0;
}
