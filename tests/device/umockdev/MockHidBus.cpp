#include "tests/device/umockdev/MockHidBus.h"

#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <umockdev.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace kvelt::hid::test {
namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char digits[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    text += digits;
  }
  return text;
}

std::string Hex4(std::uint16_t value, bool upper) {
  char digits[5];
  std::snprintf(digits, sizeof digits, upper ? "%04X" : "%04x", value);
  return digits;
}

std::string Hex8(std::uint16_t value) {
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", value);
  return digits;
}

std::string UsbDevicePath(int number) {
  return "/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(number + 1);
}

std::string HidDevicePath(const MockHidDevice& d) {
  const std::string busCode = d.Bus == MockHidDevice::Link::Usb ? "0003" : "0005";
  const std::string hidName = busCode + ":" + Hex4(d.VendorID, true) + ":" + Hex4(d.ProductID, true) + "." +
                              Hex4(static_cast<std::uint16_t>(d.Number + 1), true);
  switch (d.Bus) {
    case MockHidDevice::Link::Usb:
      return UsbDevicePath(d.Number) + "/1-" + std::to_string(d.Number + 1) + ":1.0/" + hidName;
    case MockHidDevice::Link::Bluetooth:
      return "/devices/virtual/misc/uhid/" + hidName;
    case MockHidDevice::Link::BluetoothBehindUsbAdapter:
      return UsbDevicePath(d.Number) + "/1-" + std::to_string(d.Number + 1) +
             ":1.0/bluetooth/hci0/hci0:" + std::to_string(d.Number + 1) + "/" + hidName;
  }
  return {};
}

}  // namespace

std::vector<std::uint8_t> CounterReportDescriptor() {
  return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
          0x08, 0x95, 0x40, 0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

std::vector<std::uint8_t> UnnumberedReportDescriptor() {
  return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
          0x95, 0x40, 0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

std::vector<std::uint8_t> KeyboardReportDescriptor() {
  return {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
          0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
          0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
          0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};
}

MockHidDevice KveltCounter(int number) {
  MockHidDevice d;
  d.Number = number;
  d.VendorID = 0x16C0;
  d.ProductID = 0x05DF;
  d.Release = 0x0105;
  d.UsbProduct = "KVELT";
  d.HidName = "VOTI KVELT";  // what the kernel makes of manufacturer and product
  d.ReportDescriptor = CounterReportDescriptor();
  return d;
}

MockHidDevice UsbKeyboard(int number) {
  MockHidDevice d;
  d.Number = number;
  d.VendorID = 0x046D;
  d.ProductID = 0xC31C;
  d.UsbProduct = "USB Keyboard";
  d.HidName = "Logitech USB Keyboard";
  d.ReportDescriptor = KeyboardReportDescriptor();
  return d;
}

MockHidBus::MockHidBus() : bed_(umockdev_testbed_new()) {
  if (!umockdev_in_mock_environment()) throw std::runtime_error("not run under umockdev-wrapper");
  // The sandbox redirects /dev only once it has a /dev of its own; a system always has one.
  gchar* root = umockdev_testbed_get_root_dir(bed_);
  ::mkdir((std::string(root) + "/dev").c_str(), 0755);
  g_free(root);
}

MockHidBus::~MockHidBus() { g_object_unref(bed_); }

std::string MockHidBus::HidrawSyspath(const MockHidDevice& d) {
  return "/sys" + HidDevicePath(d) + "/hidraw/hidraw" + std::to_string(d.Number);
}

std::string MockHidBus::DevNode(const MockHidDevice& d) { return "/dev/hidraw" + std::to_string(d.Number); }

std::string MockHidBus::TopSyspath(const MockHidDevice& d) {
  return "/sys" + (d.Bus == MockHidDevice::Link::Bluetooth ? HidDevicePath(d) : UsbDevicePath(d.Number));
}

std::string MockHidBus::Add(const MockHidDevice& d) {
  std::string text;
  if (d.Bus != MockHidDevice::Link::Bluetooth) {
    const bool adapter = d.Bus == MockHidDevice::Link::BluetoothBehindUsbAdapter;
    text += "P: " + UsbDevicePath(d.Number) + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n";
    text += "A: idVendor=" + Hex4(adapter ? 0x8087 : d.VendorID, false) + "\n";
    text += "A: idProduct=" + Hex4(adapter ? 0x0026 : d.ProductID, false) + "\n";
    text += "A: bcdDevice=" + Hex4(d.Release, false) + "\n";
    if (adapter) {
      text += "A: product=Bluetooth Adapter\n";
    } else if (d.UsbProduct) {
      text += "A: product=" + *d.UsbProduct + "\n";
    }
    text += "\nP: " + UsbDevicePath(d.Number) + "/1-" + std::to_string(d.Number + 1) +
            ":1.0\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n";
  }
  const std::string busCode = d.Bus == MockHidDevice::Link::Usb ? "0003" : "0005";
  text += "P: " + HidDevicePath(d) + "\nE: SUBSYSTEM=hid\n";
  text += "E: HID_ID=" + busCode + ":" + Hex8(d.VendorID) + ":" + Hex8(d.ProductID) + "\n";
  text += "E: HID_NAME=" + d.HidName + "\n";
  text += "H: report_descriptor=" + Hex(d.ReportDescriptor) + "\n\n";
  text += "P: " + HidDevicePath(d) + "/hidraw/hidraw" + std::to_string(d.Number) + "\n";
  text += "N: hidraw" + std::to_string(d.Number) + "\n";
  text += "E: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/hidraw" + std::to_string(d.Number) + "\n";
  text += "E: MAJOR=240\nE: MINOR=" + std::to_string(d.Number) + "\n\n";

  GError* error = nullptr;
  if (!umockdev_testbed_add_from_string(bed_, text.c_str(), &error)) {
    const std::string message = error != nullptr ? error->message : "unknown error";
    g_clear_error(&error);
    throw std::runtime_error("umockdev rejected the device: " + message);
  }
  // A hidraw node hands out whole reports; the pseudo-terminal standing in for it must not
  // echo, translate line ends or take control characters.
  const int end = DeviceEnd(d);
  termios mode{};
  if (end >= 0 && ::tcgetattr(end, &mode) == 0) {
    ::cfmakeraw(&mode);
    ::tcsetattr(end, TCSANOW, &mode);
  }
  return HidrawSyspath(d);
}

void MockHidBus::Remove(const MockHidDevice& d) {
  umockdev_testbed_remove_device(bed_, TopSyspath(d).c_str());
}

void MockHidBus::Uevent(const MockHidDevice& d, const char* action) {
  umockdev_testbed_uevent(bed_, HidrawSyspath(d).c_str(), action);
}

int MockHidBus::DeviceEnd(const MockHidDevice& d) {
  return umockdev_testbed_get_dev_fd(bed_, DevNode(d).c_str());
}

bool MockHidBus::SetNodeMode(const MockHidDevice& d, unsigned mode) {
  // Under the sandbox /dev/hidrawN leads to the pseudo-terminal, whose mode is the node's.
  return ::chmod(DevNode(d).c_str(), static_cast<mode_t>(mode)) == 0;
}

std::string MockHidBus::NodeInBed(const MockHidDevice& d) const {
  gchar* root = umockdev_testbed_get_root_dir(bed_);
  std::string path = std::string(root) + DevNode(d);
  g_free(root);
  return path;
}

bool MockHidBus::HideNode(const MockHidDevice& d) {
  // The sandbox's own path is not redirected, so these calls reach the node file itself.
  const std::string node = NodeInBed(d);
  char target[256];
  const ssize_t n = ::readlink(node.c_str(), target, sizeof target - 1);
  if (n <= 0) return false;
  hiddenTarget_.assign(target, static_cast<std::size_t>(n));
  return ::unlink(node.c_str()) == 0;
}

bool MockHidBus::ShowNode(const MockHidDevice& d) {
  return !hiddenTarget_.empty() && ::symlink(hiddenTarget_.c_str(), NodeInBed(d).c_str()) == 0;
}

bool WaitReadable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  int n = 0;
  do {
    n = ::poll(&p, 1, timeoutMs);
  } while (n < 0 && errno == EINTR);
  return n > 0 && (p.revents & POLLIN) != 0;
}

}  // namespace kvelt::hid::test
