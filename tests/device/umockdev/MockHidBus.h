#pragma once

// A umockdev sandbox holding HID devices as the Linux kernel presents them in sysfs: a hidraw
// node under its "hid" device, under a USB interface and USB device (or straight under a
// Bluetooth host). The real libudev and every open of /dev and /sys see the sandbox instead
// of the system while it exists. Each hidraw node is a pseudo-terminal; the test plays the
// device at its other end.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct _UMockdevTestbed;

namespace kvelt::hid::test {

struct MockHidDevice {
  enum class Link { Usb, Bluetooth, BluetoothBehindUsbAdapter };
  Link Bus = Link::Usb;
  int Number = 0;  // hidraw<Number>, USB port 1-<Number+1>
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t Release = 0x0100;         // USB bcdDevice
  std::optional<std::string> UsbProduct;  // the USB device's "product" attribute; none: no string
  std::string HidName;                    // the kernel's HID_NAME
  std::vector<std::uint8_t> ReportDescriptor;
};

// Report descriptors of the devices the tests plug in.
std::vector<std::uint8_t> CounterReportDescriptor();     // report id 1, 64-byte input and output
std::vector<std::uint8_t> UnnumberedReportDescriptor();  // the same without report ids
std::vector<std::uint8_t> KeyboardReportDescriptor();    // boot keyboard: 8 bytes in, 1 out, no ids

MockHidDevice KveltCounter(int number);
MockHidDevice UsbKeyboard(int number);  // a USB keyboard beside the counter

class MockHidBus {
 public:
  MockHidBus();
  ~MockHidBus();
  MockHidBus(const MockHidBus&) = delete;
  MockHidBus& operator=(const MockHidBus&) = delete;

  // Adds the device with its parents; returns the hidraw node's syspath (/sys/devices/...).
  std::string Add(const MockHidDevice& device);
  // Removes the device and everything below it (the USB device, or the hid device).
  void Remove(const MockHidDevice& device);
  // Sends a uevent for the hidraw node of the device ("add", "remove", "change").
  void Uevent(const MockHidDevice& device, const char* action);

  static std::string HidrawSyspath(const MockHidDevice& device);
  static std::string DevNode(const MockHidDevice& device);
  // The device's end of the node's pseudo-terminal (raw mode; owned by the sandbox).
  int DeviceEnd(const MockHidDevice& device);
  // Changes the access mode of the node, as a udev rule would.
  bool SetNodeMode(const MockHidDevice& device, unsigned mode);
  // Takes the node out of /dev and puts it back, leaving sysfs alone: a system without udev
  // whose /dev gets its nodes later than the kernel's event.
  bool HideNode(const MockHidDevice& device);
  bool ShowNode(const MockHidDevice& device);

 private:
  static std::string TopSyspath(const MockHidDevice& device);
  std::string NodeInBed(const MockHidDevice& device) const;

  _UMockdevTestbed* bed_;
  std::string hiddenTarget_;
};

// The sandbox has no udev database (so every node looks uninitialised) while the system's
// /run/udev, which tells whether udev runs, is not redirected: tests say which case they mean.
inline constexpr bool kSandboxUdevRunning = false;

// Waits up to timeoutMs for fd to become readable.
bool WaitReadable(int fd, int timeoutMs);

}  // namespace kvelt::hid::test
