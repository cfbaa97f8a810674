#pragma once

// The application's side of the device layer as the window plays it, for tests on the real
// backend: on every device change it checks all devices in, lists and checks out every
// interface again and takes the last "KVELT" with read/write access as the counter, whose
// reports it collects. The test thread is the main thread.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/HidControllerClass.h"
#include "device/TaskQueuePoster.h"

namespace kvelt::hid::test {

class CounterLink {
 public:
  explicit CounterLink(HidBackend& backend);
  ~CounterLink();
  CounterLink(const CounterLink&) = delete;
  CounterLink& operator=(const CounterLink&) = delete;

  // Runs the controller's first scan.
  void Start();
  // Waits for the backend's change descriptor, then lets the controller take what is pending.
  bool ServeMonitor(int timeoutMs);
  // Serves the readers' hand-overs until `count` reports in all have arrived.
  bool WaitForReports(std::size_t count, int timeoutMs);

  THidDeviceController& Controller() { return *Controller_; }
  const std::vector<std::string>& Labels() const { return Labels_; }
  THidDevice* Current() const { return Current_; }
  bool Connected() const { return Current_ != nullptr && Current_->ReaderRunning(); }
  int Changes() const { return Changes_; }
  // Every report of the counter as read: report id, then the data.
  const std::vector<std::vector<std::uint8_t>>& Reports() const { return Reports_; }

 private:
  void DeviceChange();

  HidBackend& Backend_;
  TaskQueuePoster Poster_;
  std::unique_ptr<THidDeviceController> Controller_;
  std::vector<std::unique_ptr<THidDevice>> Held_;
  std::vector<std::string> Labels_;
  THidDevice* Current_ = nullptr;
  int Changes_ = 0;
  std::vector<std::vector<std::uint8_t>> Reports_;
};

}  // namespace kvelt::hid::test
