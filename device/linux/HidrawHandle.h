#pragma once

// One open hidraw node. Reads wait in poll() on the node and on an eventfd,
// so RequestStop() wakes a blocked reader at once and an idle one uses no CPU.
// Writes go through a HidrawWriter (made at the first write), so none holds the caller
// longer than HidrawWriter::kWaitBound.

#include <atomic>
#include <memory>
#include <string>

#include "device/HidBackend.h"
#include "device/linux/HidrawWriter.h"

namespace kvelt::hid {

class HidrawHandle final : public HidHandle {
 public:
  // ReadWrite opens the node O_RDWR, ReadOnly O_RDONLY and
  // non-blocking; MetadataOnly opens nothing and succeeds while the path exists.
  // Null when the node cannot be opened in that mode; error (when given) then holds errno.
  // A device without numbered reports (numberedReports false) gets a 0 byte put in front
  // of every report read, where a numbered one has its report id.
  static std::unique_ptr<HidrawHandle> Open(const std::string& path, HidOpenMode mode,
                                            bool numberedReports = true, int* error = nullptr);
  // Takes ownership of an already open descriptor (-1 for a handle without I/O).
  // Null only when the stop eventfd cannot be made.
  static std::unique_ptr<HidrawHandle> Adopt(int deviceFd, bool numberedReports = true);

  ~HidrawHandle() override;
  HidrawHandle(const HidrawHandle&) = delete;
  HidrawHandle& operator=(const HidrawHandle&) = delete;

  HidReadResult Read(std::uint8_t* buffer, std::size_t length) override;
  void RequestStop() override;
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override;

 private:
  HidrawHandle(int deviceFd, int stopFd, bool numberedReports);
  HidReadResult ReadReadyReport(std::uint8_t* buffer, std::size_t length, bool& retry);

  const int deviceFd_;
  const int stopFd_;
  const bool numberedReports_;
  std::atomic<bool> stopRequested_{false};
  std::unique_ptr<HidrawWriter> writer_;
};

}  // namespace kvelt::hid
