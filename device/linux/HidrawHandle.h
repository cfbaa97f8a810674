#pragma once

// One open hidraw node. Reads wait in poll() on the node and on an eventfd,
// so RequestStop() wakes a blocked reader at once and an idle one uses no CPU.

#include <atomic>
#include <memory>
#include <string>

#include "device/HidBackend.h"

namespace kvelt::hid {

class HidrawHandle final : public HidHandle {
 public:
  // ReadWrite opens the node O_RDWR (blocking writes), ReadOnly O_RDONLY and
  // non-blocking; MetadataOnly opens nothing and succeeds while the path exists.
  // Null when the node cannot be opened in that mode.
  static std::unique_ptr<HidrawHandle> Open(const std::string& path, HidOpenMode mode);
  // Takes ownership of an already open descriptor (-1 for a handle without I/O).
  // Null only when the stop eventfd cannot be made.
  static std::unique_ptr<HidrawHandle> Adopt(int deviceFd);

  ~HidrawHandle() override;
  HidrawHandle(const HidrawHandle&) = delete;
  HidrawHandle& operator=(const HidrawHandle&) = delete;

  HidReadResult Read(std::uint8_t* buffer, std::size_t length) override;
  void RequestStop() override;
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override;

 private:
  HidrawHandle(int deviceFd, int stopFd);
  HidReadResult ReadReadyReport(std::uint8_t* buffer, std::size_t length, bool& retry);

  const int deviceFd_;
  const int stopFd_;
  std::atomic<bool> stopRequested_{false};
};

}  // namespace kvelt::hid
