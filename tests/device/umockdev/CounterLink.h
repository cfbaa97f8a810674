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

  THidDeviceController& Controller() { return *controller_; }
  const std::vector<std::string>& Labels() const { return labels_; }
  THidDevice* Current() const { return current_; }
  bool Connected() const { return current_ != nullptr && current_->ReaderRunning(); }
  int Changes() const { return changes_; }
  // Every report of the counter as read: report id, then the data.
  const std::vector<std::vector<std::uint8_t>>& Reports() const { return reports_; }

 private:
  void DeviceChange();

  HidBackend& backend_;
  TaskQueuePoster poster_;
  std::unique_ptr<THidDeviceController> controller_;
  std::vector<std::unique_ptr<THidDevice>> held_;
  std::vector<std::string> labels_;
  THidDevice* current_ = nullptr;
  int changes_ = 0;
  std::vector<std::vector<std::uint8_t>> reports_;
};

}  // namespace kvelt::hid::test
