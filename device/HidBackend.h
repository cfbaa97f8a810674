#pragma once

// The narrow interface between the HID device layer and the operating system
// (or the simulated counter). Everything above it is platform independent.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvelt::hid {

// What the layer needs to know of one HID interface present in the system.
struct HidInterfaceInfo {
  std::string Identity;  // per-interface identity, stable across scans (the DeviceInstance)
  std::string Path;      // what Open() takes
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t VersionNumber = 0;
  std::string ProductString;  // UTF-8; empty when the device has none
  std::string SerialNumber;   // the USB serial number; empty when the device has none
  // Longest input and output report, including the report-id byte.
  std::uint16_t InputReportByteLength = 0;
  std::uint16_t OutputReportByteLength = 0;
  // False for a device whose descriptor declares no report ids: the system hands its reports
  // without the id byte, and the backend puts a 0 in front so that every report read looks the same.
  bool NumberedReports = true;
  // The built-in simulated counter (or its bus), not a device of the system.
  bool Simulated = false;
};

enum class HidOpenMode {
  ReadWrite,     // synchronous handle for writes
  ReadOnly,      // the reader's handle
  MetadataOnly,  // no I/O; enough to list a device the user may not open
};

struct HidReadResult {
  enum class Status {
    Report,   // Bytes bytes were read into the buffer (may be 0)
    Stopped,  // RequestStop() was called
    Gone,     // the device has disappeared (EIO, ENODEV, hang-up)
    Failed,   // the read could not be started; Error holds the system error code
  };
  Status State = Status::Failed;
  std::size_t Bytes = 0;
  int Error = 0;
};

// One open handle of an interface. Read() and RequestStop() are the only calls
// made from the reader thread (RequestStop() from the main thread while a
// Read() blocks on the reader thread); everything else is main-thread only.
class HidHandle {
 public:
  virtual ~HidHandle() = default;
  // Blocks until one whole input report arrives, a stop is requested, or the
  // device fails. Never busy-waits.
  virtual HidReadResult Read(std::uint8_t* buffer, std::size_t length) = 0;
  // Wakes a blocked Read() (and makes later ones return Stopped) at once.
  virtual void RequestStop() = 0;
  // Writes one whole output report; false on any failure.
  virtual bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) = 0;
};

// Who holds a device's lock: the process and its program name.
struct HidLockHolder {
  int Pid = 0;
  std::string Program;
};

// An advisory lock on one interface between programs of this system; released when destroyed.
class HidDeviceLock {
 public:
  virtual ~HidDeviceLock() = default;
};

struct HidLockResult {
  std::unique_ptr<HidDeviceLock> Lock;  // held; none when in use or when the backend has no locks
  bool InUse = false;                   // another holder has it
  HidLockHolder Holder;                 // that holder, as far as the system tells
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // The interfaces present now, in the system's order.
  virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
  // Opens an interface; null when it cannot be opened in that mode.
  virtual std::unique_ptr<HidHandle> Open(const HidInterfaceInfo& info, HidOpenMode mode) = 0;
  // The system error code (errno) of this backend's last failed Open(), 0 when the last Open()
  // succeeded or the backend cannot tell.
  virtual int LastOpenError() const { return 0; }
  // Whether the interface may be opened for reading and writing, for the device list; error
  // then holds why not (errno, 0 when the backend cannot tell). This one opens and closes it;
  // backends whose open waits on the device check without opening.
  virtual bool MayReadWrite(const HidInterfaceInfo& info, int& error) {
    const bool opened = Open(info, HidOpenMode::ReadWrite) != nullptr;
    error = opened ? 0 : LastOpenError();
    return opened;
  }
  // Change notification, for backends fed by the operating system: a file
  // descriptor that becomes readable when devices come or go (-1 when the
  // backend has none), and the call that consumes what made it readable;
  // it returns true when the set of HID interfaces may have changed.
  virtual int MonitorFd() const = 0;
  virtual bool DrainMonitor() = 0;
  // Change notification, for in-process backends (the simulated counter):
  // the callback runs on the main thread whenever interfaces come or go.
  virtual void SetChangeCallback(std::function<void()> callback) = 0;
  // Takes the interface's lock without waiting. Other software that opens the node is not
  // stopped by it; only programs that ask for the lock see it. Backends without locks hold none.
  virtual HidLockResult LockDevice(const HidInterfaceInfo& /*info*/) { return {}; }
};

}  // namespace kvelt::hid
