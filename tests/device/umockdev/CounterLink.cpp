#include "tests/device/umockdev/CounterLink.h"

#include <chrono>
#include <cstdio>

#include "tests/device/umockdev/MockHidBus.h"

namespace kvelt::hid::test {

CounterLink::CounterLink(HidBackend& backend) : Backend_(backend) {}

CounterLink::~CounterLink() {
  Current_ = nullptr;
  Controller_.reset();
  Held_.clear();
}

void CounterLink::Start() {
  Controller_ = std::make_unique<THidDeviceController>(Backend_, Poster_);
  Controller_->OnDeviceChange = [this](THidDeviceController&) { DeviceChange(); };
  Poster_.RunPending();
}

bool CounterLink::ServeMonitor(int timeoutMs) {
  const int fd = Controller_->MonitorFd();
  if (fd < 0 || !WaitReadable(fd, timeoutMs)) return false;
  Controller_->OnMonitorReadable();
  return true;
}

bool CounterLink::WaitForReports(std::size_t count, int timeoutMs) {
  return Poster_.RunUntil([&] { return Reports_.size() >= count; }, std::chrono::milliseconds(timeoutMs));
}

void CounterLink::DeviceChange() {
  ++Changes_;
  Held_.clear();
  Current_ = nullptr;
  Labels_.clear();
  Controller_->OnEnumerate = [this](THidDevice& device, int index) {
    const std::string& product = device.ProductString();
    char label[40];
    std::snprintf(label, sizeof label, "Device VID=%04X PID=%04X", static_cast<unsigned>(device.VendorID()),
                  static_cast<unsigned>(device.ProductID()));
    Labels_.push_back(product.empty() ? std::string(label) : product);
    Held_.push_back(Controller_->CheckOutDevice(index));
    return true;
  };
  Controller_->EnumerateDevices();
  for (std::size_t i = 0; i < Held_.size(); ++i) {
    THidDevice* device = Held_[i].get();
    if (device == nullptr || Labels_[i] != "KVELT") continue;
    if (Current_ != nullptr) Current_->SetDataHandler(nullptr);
    Current_ = device;
    if (!device->ReadWriteAccess()) continue;
    device->SetDataHandler(
        [this](THidDevice&, std::uint8_t reportId, const std::uint8_t* data, std::uint16_t size) {
          std::vector<std::uint8_t> report{reportId};
          report.insert(report.end(), data, data + size);
          Reports_.push_back(std::move(report));
        });
  }
}

}  // namespace kvelt::hid::test
