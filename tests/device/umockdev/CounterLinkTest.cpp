// The controller on the real Linux backend: devices present at start, hot-plug uevents, the
// read and write paths through the node, and a node the user may not open.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <string>
#include <vector>

#include "device/AccessHint.h"
#include "device/linux/LinuxHidBackend.h"
#include "tests/device/umockdev/CounterLink.h"
#include "tests/device/umockdev/MockHidBus.h"

namespace kvelt::hid::test {
namespace {

constexpr int kTimeoutMs = 5000;

MockHidDevice UnnamedDevice(int number) {
  MockHidDevice d;
  d.Number = number;
  d.VendorID = 0x1234;
  d.ProductID = 0x00AB;
  d.HidName = "HID 1234:00ab";
  d.ReportDescriptor = CounterReportDescriptor();
  return d;
}

// A 65-byte report of the counter: id 1, the code, then every byte value the payload may hold.
std::vector<std::uint8_t> CounterReport(std::uint8_t code, std::uint8_t first) {
  std::vector<std::uint8_t> report(65);
  std::iota(report.begin() + 2, report.end(), first);
  report[0] = 1;
  report[1] = code;
  return report;
}

void Send(int deviceEnd, const std::vector<std::uint8_t>& bytes) {
  ASSERT_EQ(::write(deviceEnd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

std::vector<std::uint8_t> Receive(int deviceEnd, std::size_t length) {
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < length && WaitReadable(deviceEnd, kTimeoutMs)) {
    std::uint8_t chunk[256];
    const ssize_t n = ::read(deviceEnd, chunk, std::min(sizeof chunk, length - bytes.size()));
    if (n <= 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

class CounterOnMockedKernel : public ::testing::Test {
 protected:
  MockHidBus Bus;
  std::unique_ptr<HidBackend> Backend;  // made after the devices present at start
  std::unique_ptr<CounterLink> Link;

  void StartProgram() {
    Backend = CreateLinuxHidBackend({.UdevRunning = kSandboxUdevRunning});
    Link = std::make_unique<CounterLink>(*Backend);
    Link->Start();
  }
  void TearDown() override {
    Link.reset();
    Backend.reset();
  }
};

TEST_F(CounterOnMockedKernel, CounterAmongOtherDevicesIsChosenAndTalksBothWays) {
  const MockHidDevice keyboard = UsbKeyboard(0);
  const MockHidDevice counter = KveltCounter(1);
  Bus.Add(keyboard);
  Bus.Add(counter);
  Bus.Add(UnnamedDevice(2));
  ASSERT_TRUE(Bus.SetNodeMode(keyboard, 0));  // the system keeps keyboards for itself
  StartProgram();

  EXPECT_EQ(Link->Labels(), (std::vector<std::string>{"USB Keyboard", "KVELT", "Device VID=1234 PID=00AB"}));
  ASSERT_TRUE(Link->Connected());
  EXPECT_EQ(Link->Current()->Caps().InputReportByteLength, 65);
  EXPECT_EQ(Link->Current()->Caps().OutputReportByteLength, 65);

  const int end = Bus.DeviceEnd(counter);
  const auto first = CounterReport(100, 0);
  const auto second = CounterReport(101, 63);
  Send(end, first);
  Send(end, second);
  ASSERT_TRUE(Link->WaitForReports(2, kTimeoutMs));
  EXPECT_EQ(Link->Reports()[0], first);
  EXPECT_EQ(Link->Reports()[1], second);

  const auto request = CounterReport(104, 200);
  std::size_t written = 0;
  ASSERT_TRUE(Link->Current()->WriteFile(request.data(), request.size(), written));
  EXPECT_EQ(written, request.size());
  EXPECT_EQ(Receive(end, request.size()), request);
}

TEST_F(CounterOnMockedKernel, HotPlugUeventsReachTheControllerAndTheList) {
  const MockHidDevice counter = KveltCounter(0);
  const MockHidDevice keyboard = UsbKeyboard(1);
  StartProgram();
  EXPECT_EQ(Link->Changes(), 1) << "the first scan is announced with nothing present";
  EXPECT_TRUE(Link->Labels().empty());
  ASSERT_GE(Link->Controller().MonitorFd(), 0);

  // The counter arrives while the program runs and is checked out and read.
  Bus.Add(counter);
  Bus.Uevent(counter, "add");
  ASSERT_TRUE(Link->ServeMonitor(kTimeoutMs));
  EXPECT_EQ(Link->Changes(), 2);
  EXPECT_EQ(Link->Labels(), (std::vector<std::string>{"KVELT"}));
  ASSERT_TRUE(Link->Connected());
  Send(Bus.DeviceEnd(counter), CounterReport(100, 1));
  ASSERT_TRUE(Link->WaitForReports(1, kTimeoutMs));

  // A change that alters nothing the layer cares about is no device change.
  Bus.Uevent(counter, "change");
  ASSERT_TRUE(Link->ServeMonitor(kTimeoutMs));
  EXPECT_EQ(Link->Changes(), 2);
  EXPECT_TRUE(Link->Connected());

  // Another device: the list is rebuilt and the counter reconnected.
  Bus.Add(keyboard);
  Bus.Uevent(keyboard, "add");
  ASSERT_TRUE(Link->ServeMonitor(kTimeoutMs));
  EXPECT_EQ(Link->Changes(), 3);
  EXPECT_EQ(Link->Labels(), (std::vector<std::string>{"KVELT", "USB Keyboard"}));
  ASSERT_TRUE(Link->Connected());
  Send(Bus.DeviceEnd(counter), CounterReport(101, 2));
  ASSERT_TRUE(Link->WaitForReports(2, kTimeoutMs));
  EXPECT_EQ(Link->Reports()[1][1], 101);

  // The counter goes.
  Bus.Uevent(counter, "remove");
  Bus.Remove(counter);
  ASSERT_TRUE(Link->ServeMonitor(kTimeoutMs));
  EXPECT_EQ(Link->Changes(), 4);
  EXPECT_EQ(Link->Labels(), (std::vector<std::string>{"USB Keyboard"}));
  EXPECT_EQ(Link->Current(), nullptr);
}

TEST_F(CounterOnMockedKernel, ReportsWithoutIdsLookLikeNumberedOnes) {
  MockHidDevice counter = KveltCounter(0);
  counter.ReportDescriptor = UnnumberedReportDescriptor();
  Bus.Add(counter);
  StartProgram();
  ASSERT_TRUE(Link->Connected());
  EXPECT_EQ(Link->Current()->Caps().InputReportByteLength, 65);

  // hidraw hands such a report out without an id byte.
  std::vector<std::uint8_t> bare(64);
  std::iota(bare.begin(), bare.end(), std::uint8_t{100});
  Send(Bus.DeviceEnd(counter), bare);
  ASSERT_TRUE(Link->WaitForReports(1, kTimeoutMs));
  std::vector<std::uint8_t> expected{0};
  expected.insert(expected.end(), bare.begin(), bare.end());
  EXPECT_EQ(Link->Reports()[0], expected);

  // Written reports keep the 0 in front: hidraw takes it off itself.
  std::vector<std::uint8_t> request(65, 0);
  request[1] = 104;
  std::size_t written = 0;
  ASSERT_TRUE(Link->Current()->WriteFile(request.data(), request.size(), written));
  EXPECT_EQ(Receive(Bus.DeviceEnd(counter), request.size()), request);
}

TEST_F(CounterOnMockedKernel, NodeTheUserMayNotOpenIsDiagnosedAndConnectsOnceTheRuleApplies) {
  ASSERT_NE(::geteuid(), 0u) << "permission checks need an unprivileged user; ctest runs this as nobody";
  const MockHidDevice counter = KveltCounter(0);
  Bus.Add(counter);
  ASSERT_TRUE(Bus.SetNodeMode(counter, 0));
  StartProgram();

  // Listed from its metadata and chosen, but not usable.
  EXPECT_EQ(Link->Labels(), (std::vector<std::string>{"KVELT"}));
  ASSERT_NE(Link->Current(), nullptr);
  EXPECT_FALSE(Link->Current()->ReadWriteAccess());
  EXPECT_FALSE(Link->Connected());
  EXPECT_EQ(Link->Current()->OpenError(), EACCES);
  EXPECT_EQ(AccessHint(Link->Current()->OpenError(), "/usr/lib/udev/rules.d/70-kvelt.rules").Failure(),
            OpenFailure::NoPermission);

  // The rule is installed and triggered: udev changes the node's mode and sends "change".
  ASSERT_TRUE(Bus.SetNodeMode(counter, 0660));
  Bus.Uevent(counter, "change");
  ASSERT_TRUE(Link->ServeMonitor(kTimeoutMs));
  EXPECT_EQ(Link->Changes(), 2);
  ASSERT_TRUE(Link->Connected()) << "connected without a replug";
  EXPECT_EQ(Link->Current()->OpenError(), 0);
  Send(Bus.DeviceEnd(counter), CounterReport(100, 5));
  ASSERT_TRUE(Link->WaitForReports(1, kTimeoutMs));
}

// What keeps the node from opening decides what the user is told.
// (A node held exclusively by another program, EBUSY, cannot be set up: the sandbox refuses
// TIOCEXCL on its nodes.)
struct BlockedNodeCase {
  const char* Name;
  unsigned Mode;
  int Error;
  OpenFailure Failure;
};

class BlockedCounterNode : public CounterOnMockedKernel,
                           public ::testing::WithParamInterface<BlockedNodeCase> {};

TEST_P(BlockedCounterNode, IsListedAndTheFailureTold) {
  const BlockedNodeCase& c = GetParam();
  ASSERT_NE(::geteuid(), 0u) << "root opens every node; ctest runs this as nobody";
  const MockHidDevice counter = KveltCounter(0);
  Bus.Add(counter);
  ASSERT_TRUE(Bus.SetNodeMode(counter, c.Mode));
  StartProgram();
  EXPECT_EQ(Link->Labels(), (std::vector<std::string>{"KVELT"}));
  ASSERT_NE(Link->Current(), nullptr);
  EXPECT_FALSE(Link->Connected());
  EXPECT_EQ(Link->Current()->OpenError(), c.Error);
  const AccessHint hint(Link->Current()->OpenError(), "/usr/lib/udev/rules.d/70-kvelt.rules");
  EXPECT_EQ(hint.Failure(), c.Failure);
  EXPECT_FALSE(hint.Text(1).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, BlockedCounterNode,
    ::testing::Values(BlockedNodeCase{"NoPermission", 0, EACCES, OpenFailure::NoPermission},
                      BlockedNodeCase{"ReadOnlyForTheUser", 0444, EACCES, OpenFailure::NoPermission},
                      BlockedNodeCase{"WriteOnlyForTheUser", 0222, EACCES, OpenFailure::NoPermission}),
    [](const ::testing::TestParamInfo<BlockedNodeCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kvelt::hid::test
