#include "tests/device/umockdev/CounterLink.h"

#include <chrono>
#include <cstdio>

#include "tests/device/umockdev/MockHidBus.h"

namespace kvelt::hid::test {

CounterLink::CounterLink(HidBackend& backend) : backend_(backend) {}

CounterLink::~CounterLink() {
  current_ = nullptr;
  controller_.reset();
  held_.clear();
}

void CounterLink::Start() {
  controller_ = std::make_unique<THidDeviceController>(backend_, poster_);
  controller_->OnDeviceChange = [this](THidDeviceController&) { DeviceChange(); };
  poster_.RunPending();
}

bool CounterLink::ServeMonitor(int timeoutMs) {
  const int fd = controller_->MonitorFd();
  if (fd < 0 || !WaitReadable(fd, timeoutMs)) return false;
  controller_->OnMonitorReadable();
  return true;
}

bool CounterLink::WaitForReports(std::size_t count, int timeoutMs) {
  return poster_.RunUntil([&] { return reports_.size() >= count; }, std::chrono::milliseconds(timeoutMs));
}

void CounterLink::DeviceChange() {
  ++changes_;
  held_.clear();
  current_ = nullptr;
  labels_.clear();
  controller_->OnEnumerate = [this](THidDevice& device, int index) {
    const std::string& product = device.ProductString();
    char label[40];
    std::snprintf(label, sizeof label, "Device VID=%04X PID=%04X", static_cast<unsigned>(device.VendorID()),
                  static_cast<unsigned>(device.ProductID()));
    labels_.push_back(product.empty() ? std::string(label) : product);
    held_.push_back(controller_->CheckOutDevice(index));
    return true;
  };
  controller_->EnumerateDevices();
  for (std::size_t i = 0; i < held_.size(); ++i) {
    THidDevice* device = held_[i].get();
    if (device == nullptr || labels_[i] != "KVELT") continue;
    if (current_ != nullptr) current_->SetDataHandler(nullptr);
    current_ = device;
    if (!device->ReadWriteAccess()) continue;
    device->SetDataHandler(
        [this](THidDevice&, std::uint8_t reportId, const std::uint8_t* data, std::uint16_t size) {
          std::vector<std::uint8_t> report{reportId};
          report.insert(report.end(), data, data + size);
          reports_.push_back(std::move(report));
        });
  }
}

}  // namespace kvelt::hid::test
