#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "device/linux/LinuxHidBackend.h"

namespace kvelt::hid {
namespace {

bool SysfsHasHidrawNodes() {
  std::error_code error;
  std::filesystem::directory_iterator it("/sys/class/hidraw", error);
  return !error && it != std::filesystem::directory_iterator();
}

TEST(LinuxHidBackend, EnumeratesWhatSysfsShows) {
  auto backend = CreateLinuxHidBackend();
  ASSERT_NE(backend, nullptr);
  const auto interfaces = backend->Enumerate();
  if (!SysfsHasHidrawNodes()) {
    EXPECT_TRUE(interfaces.empty());
    return;
  }
  for (const auto& info : interfaces) {
    EXPECT_EQ(info.Identity.rfind("/sys/", 0), 0u) << info.Identity;
    EXPECT_EQ(info.Path.rfind("/dev/", 0), 0u) << info.Path;
    // Listing never needs permission on the node.
    EXPECT_NE(backend->Open(info, HidOpenMode::MetadataOnly), nullptr) << info.Path;
  }
  // The same devices in the same order on a second scan.
  const auto again = backend->Enumerate();
  ASSERT_EQ(again.size(), interfaces.size());
  for (std::size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].Identity, interfaces[i].Identity);
}

TEST(LinuxHidBackend, MonitorIsUsableOrAbsent) {
  auto backend = CreateLinuxHidBackend();
  const int fd = backend->MonitorFd();
  EXPECT_GE(fd, -1);
  if (fd >= 0) {
    EXPECT_NE(::fcntl(fd, F_GETFD), -1);
    EXPECT_EQ(backend->MonitorFd(), fd) << "the descriptor stays the same for the backend's life";
  }
  // Nothing is plugged during the test; draining must not block either way.
  EXPECT_FALSE(backend->DrainMonitor());
  backend->SetChangeCallback([] { FAIL() << "the Linux backend reports changes through its descriptor"; });
  backend->Enumerate();
  backend->DrainMonitor();
}

TEST(LinuxHidBackend, OpeningAnUnknownDeviceFails) {
  auto backend = CreateLinuxHidBackend();
  HidInterfaceInfo missing;
  missing.Identity = "/sys/devices/virtual/misc/none/hidraw/hidraw-kvelt-missing";
  missing.Path = "/dev/hidraw-kvelt-missing";
  for (const auto mode : {HidOpenMode::ReadWrite, HidOpenMode::ReadOnly, HidOpenMode::MetadataOnly}) {
    EXPECT_EQ(backend->Open(missing, mode), nullptr);
  }
}

TEST(LinuxHidBackend, SeveralBackendsCoexist) {
  auto first = CreateLinuxHidBackend();
  auto second = CreateLinuxHidBackend();
  EXPECT_EQ(first->Enumerate().size(), second->Enumerate().size());
  if (first->MonitorFd() >= 0 && second->MonitorFd() >= 0) {
    EXPECT_NE(first->MonitorFd(), second->MonitorFd());
  }
}

}  // namespace
}  // namespace kvelt::hid
