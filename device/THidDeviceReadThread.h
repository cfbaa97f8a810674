#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "device/HidBackend.h"
#include "device/MainThreadPoster.h"
#include "device/ReportHandOver.h"

namespace kvelt::hid {

class THidDevice;

// The reader of one checked-out device: reads whole input reports on its own thread and hands
// each one to the device's data handler on the main thread, waiting until the handler has
// returned before it reads the next one.
//
// Everything that touches the device (opening its read handle, calling its handlers) runs on
// the main thread through the hand-over; the thread itself only reads and sleeps. A read that
// cannot be started is reported to the device's error handler and retried after a pause of
// the device's SleepTime, which a stop cuts short. A read that finds the device gone marks it
// unplugged at once (THidDevice::NodeGone), before the system's notice rebuilds the list.
class THidDeviceReadThread {
 public:
  // Starts the thread at once. reportLength is the device's InputReportByteLength; handle is
  // the device's read handle when it could be opened already (else the thread opens it).
  THidDeviceReadThread(THidDevice& device, MainThreadPoster& poster, std::size_t reportLength, int sleepTime,
                       std::shared_ptr<HidHandle> handle);
  // Stops and joins the thread if that has not happened yet (see Stop()).
  ~THidDeviceReadThread();
  THidDeviceReadThread(const THidDeviceReadThread&) = delete;
  THidDeviceReadThread& operator=(const THidDeviceReadThread&) = delete;

  // Main thread. Raises the terminate flag, wakes the thread and waits for it to end, still
  // delivering what it hands over meanwhile; true once it has been joined. False when called
  // from inside this reader's own hand-over (a handler stopping its own reader): the thread
  // then ends as soon as that handler returns, and Reap() joins it.
  bool Stop();
  // Main thread. Joins a stopped thread that has ended; true when joined (or never running).
  bool Reap();
  bool Running() const { return thread_.joinable(); }
  // Main thread, after a failed Stop(): the device is about to go; the reader must not touch
  // it any more (its remaining work is only to end).
  void DetachDevice() { device_ = nullptr; }

  void SetSleepTime(int milliseconds) { sleepTime_.store(milliseconds); }

  // How many bytes of a read are handed on: what the read reported, never more than the buffer
  // holds nor more than a report id and a 16-bit data length describe.
  static std::uint32_t DeliveredLength(std::size_t reported, std::size_t bufferSize);

 private:
  void Execute();
  bool AcquireHandle();                   // via the main thread
  void ReportError(std::uint32_t error);  // via the main thread
  void ReportGone();                      // via the main thread
  void ReleaseHandle();                   // main thread, once the thread has ended

  THidDevice* device_;  // read only inside hand-over work and on the main thread
  ReportHandOver handOver_;
  std::vector<std::uint8_t> buffer_;
  std::uint32_t numberOfBytesRead_ = 0;
  std::uint32_t lastError_ = 0;
  std::atomic<int> sleepTime_;
  // Written on the main thread only (inside a hand-over, or after the join); the thread reads it.
  std::shared_ptr<HidHandle> handle_;
  std::function<void()> deliverWork_;
  std::thread thread_;
};

}  // namespace kvelt::hid
