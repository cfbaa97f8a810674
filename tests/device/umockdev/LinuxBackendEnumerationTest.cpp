// The Linux backend with the real libudev, over sysfs as the kernel lays it out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/linux/LinuxHidBackend.h"
#include "tests/device/umockdev/MockHidBus.h"

namespace kvelt::hid::test {
namespace {

struct EnumerationCase {
  const char* Name;
  MockHidDevice Device;
  std::string Product;
  std::uint16_t VendorID;
  std::uint16_t ProductID;
  std::uint16_t Version;
  std::uint16_t InputLength;
  std::uint16_t OutputLength;
  bool Numbered;
};

MockHidDevice UsbWithoutProductString() {
  MockHidDevice d;
  d.Number = 1;
  d.VendorID = 0x1234;
  d.ProductID = 0x00AB;
  d.HidName = "HID 1234:00ab";
  d.ReportDescriptor = CounterReportDescriptor();
  return d;
}

MockHidDevice BluetoothDevice(MockHidDevice::Link link) {
  MockHidDevice d;
  d.Bus = link;
  d.Number = 2;
  d.VendorID = 0x046D;
  d.ProductID = 0xB342;
  d.HidName = "Logitech K380";
  d.ReportDescriptor = KeyboardReportDescriptor();
  return d;
}

MockHidDevice UnnumberedCounter() {
  MockHidDevice d = KveltCounter(3);
  d.ReportDescriptor = UnnumberedReportDescriptor();
  return d;
}

class LinuxBackendEnumeration : public ::testing::TestWithParam<EnumerationCase> {};

TEST_P(LinuxBackendEnumeration, ReadsTheFactsTheLayerNeeds) {
  const EnumerationCase& c = GetParam();
  MockHidBus bus;
  const std::string syspath = bus.Add(c.Device);
  auto backend = CreateLinuxHidBackend({.UdevRunning = kSandboxUdevRunning});

  const auto interfaces = backend->Enumerate();
  ASSERT_EQ(interfaces.size(), 1u);
  const HidInterfaceInfo& info = interfaces[0];
  EXPECT_EQ(info.Identity, syspath);
  EXPECT_EQ(info.Path, MockHidBus::DevNode(c.Device));
  EXPECT_EQ(info.ProductString, c.Product);
  EXPECT_EQ(info.VendorID, c.VendorID);
  EXPECT_EQ(info.ProductID, c.ProductID);
  EXPECT_EQ(info.VersionNumber, c.Version);
  EXPECT_EQ(info.InputReportByteLength, c.InputLength);
  EXPECT_EQ(info.OutputReportByteLength, c.OutputLength);
  EXPECT_EQ(info.NumberedReports, c.Numbered);
  EXPECT_NE(backend->Open(info, HidOpenMode::MetadataOnly), nullptr);
  EXPECT_NE(backend->Open(info, HidOpenMode::ReadWrite), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, LinuxBackendEnumeration,
    ::testing::Values(
        // The product string comes from the USB device, not from the kernel's HID_NAME.
        EnumerationCase{"UsbCounter", KveltCounter(0), "KVELT", 0x16C0, 0x05DF, 0x0105, 65, 65, true},
        // No string descriptor: no product string (the window then lists the ids).
        EnumerationCase{"UsbWithoutProductString", UsbWithoutProductString(), "", 0x1234, 0x00AB, 0x0100, 65,
                        65, true},
        // Without a USB device above it, the name the device gave the kernel.
        EnumerationCase{"Bluetooth", BluetoothDevice(MockHidDevice::Link::Bluetooth), "Logitech K380", 0x046D,
                        0xB342, 0, 9, 2, false},
        // Behind a USB Bluetooth adapter the adapter's USB facts must not be taken for the device's.
        EnumerationCase{"BluetoothBehindUsbAdapter",
                        BluetoothDevice(MockHidDevice::Link::BluetoothBehindUsbAdapter), "Logitech K380",
                        0x046D, 0xB342, 0, 9, 2, false},
        EnumerationCase{"WithoutReportIds", UnnumberedCounter(), "KVELT", 0x16C0, 0x05DF, 0x0105, 65, 65,
                        false}),
    [](const ::testing::TestParamInfo<EnumerationCase>& info) { return std::string(info.param.Name); });

TEST(LinuxBackendOnMockedSysfs, ListsEveryHidrawNodeInTheSystemsOrder) {
  MockHidBus bus;
  MockHidDevice keyboard;
  keyboard.Number = 0;
  keyboard.VendorID = 0x046D;
  keyboard.ProductID = 0xC31C;
  keyboard.UsbProduct = "USB Keyboard";
  keyboard.HidName = "Logitech USB Keyboard";
  keyboard.ReportDescriptor = KeyboardReportDescriptor();
  bus.Add(keyboard);
  bus.Add(KveltCounter(1));
  bus.Add(BluetoothDevice(MockHidDevice::Link::Bluetooth));
  auto backend = CreateLinuxHidBackend({.UdevRunning = kSandboxUdevRunning});

  const auto interfaces = backend->Enumerate();
  std::vector<std::string> products;
  for (const auto& info : interfaces) products.push_back(info.ProductString);
  EXPECT_EQ(products, (std::vector<std::string>{"USB Keyboard", "KVELT", "Logitech K380"}));
  const auto again = backend->Enumerate();
  ASSERT_EQ(again.size(), interfaces.size());
  for (std::size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].Identity, interfaces[i].Identity);
}

TEST(LinuxBackendOnMockedSysfs, NodeWithoutHidParentOrDeviceFileIsLeftOut) {
  MockHidBus bus;
  bus.Add(KveltCounter(0));
  auto backend = CreateLinuxHidBackend({.UdevRunning = kSandboxUdevRunning});
  ASSERT_EQ(backend->Enumerate().size(), 1u);
  bus.Remove(KveltCounter(0));
  EXPECT_TRUE(backend->Enumerate().empty());
}

}  // namespace
}  // namespace kvelt::hid::test
