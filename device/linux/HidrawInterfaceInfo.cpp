#include "device/linux/HidrawInterfaceInfo.h"

#include <libudev.h>

#include <string>
#include <string_view>

#include "device/linux/HidReportDescriptor.h"
#include "device/linux/SysfsFile.h"
#include "device/linux/SysfsValues.h"

namespace kvelt::hid {
namespace {

// The kernel keeps report descriptors below 4 KiB; a little room to spare.
constexpr std::size_t kMaxReportDescriptorBytes = std::size_t{64} * 1024;
// Bus number of USB in the kernel's HID_ID property.
constexpr std::uint16_t kBusUsb = 0x03;

std::string_view OrEmpty(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

std::optional<HidInterfaceInfo> ReadHidrawInterfaceInfo(udev_device* hidraw) {
  if (hidraw == nullptr) return std::nullopt;
  const char* syspath = udev_device_get_syspath(hidraw);
  const char* devnode = udev_device_get_devnode(hidraw);
  if (syspath == nullptr || devnode == nullptr) return std::nullopt;
  // Parents are owned by the child device; they are not unreferenced here.
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  if (hid == nullptr) return std::nullopt;
  const auto id = ParseHidIdProperty(OrEmpty(udev_device_get_property_value(hid, "HID_ID")));
  // Only a USB HID device takes its facts from the USB device above it: a Bluetooth device behind a USB
  // adapter has that adapter among its ancestors too.
  udev_device* usb = nullptr;
  if (!id || id->Bus == kBusUsb)
    usb = udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_device");

  HidInterfaceInfo info;
  info.Identity = syspath;
  info.Path = devnode;

  if (id) {
    info.VendorID = id->VendorID;
    info.ProductID = id->ProductID;
  } else if (usb != nullptr) {
    info.VendorID = ParseSysfsHex16(OrEmpty(udev_device_get_sysattr_value(usb, "idVendor"))).value_or(0);
    info.ProductID = ParseSysfsHex16(OrEmpty(udev_device_get_sysattr_value(usb, "idProduct"))).value_or(0);
  }

  if (usb != nullptr) {
    info.VersionNumber =
        ParseSysfsHex16(OrEmpty(udev_device_get_sysattr_value(usb, "bcdDevice"))).value_or(0);
    // A USB device without a product string descriptor has no "product" attribute: no product string,
    // as Windows would report it (the kernel's HID_NAME is made up from the ids then).
    info.ProductString = SysfsText(OrEmpty(udev_device_get_sysattr_value(usb, "product")));
    info.SerialNumber = SysfsText(OrEmpty(udev_device_get_sysattr_value(usb, "serial")));
  } else {
    // Bluetooth, I2C and virtual devices: the name the device gave the kernel.
    info.ProductString = SysfsText(OrEmpty(udev_device_get_property_value(hid, "HID_NAME")));
  }

  if (const char* hidSyspath = udev_device_get_syspath(hid)) {
    const auto descriptor =
        ReadBinaryFile(std::string(hidSyspath) + "/report_descriptor", kMaxReportDescriptorBytes);
    if (descriptor) {
      const auto parsed = HidReportDescriptor::Parse(descriptor->data(), descriptor->size());
      info.InputReportByteLength = parsed.InputReportByteLength();
      info.OutputReportByteLength = parsed.OutputReportByteLength();
      info.NumberedReports = parsed.UsesReportIds();
    }
  }
  return info;
}

}  // namespace kvelt::hid
