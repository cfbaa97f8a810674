// Where udev runs and where it does not: which nodes are taken, and hot-plug from the kernel's
// own events with a node that appears in /dev only after its event.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "device/linux/LinuxHidBackend.h"
#include "tests/device/umockdev/CounterLink.h"
#include "tests/device/umockdev/MockHidBus.h"

namespace kvelt::hid::test {
namespace {

constexpr int kTimeoutMs = 5000;

// The sandbox has no udev database, so libudev reports every node there as not initialised
// yet: with udev running that means udev is still at work on it and its mode is not final.
TEST(UdevState, NodeUdevHasNotInitialisedIsLeftOutOnlyWhileUdevRuns) {
  MockHidBus bus;
  bus.Add(KveltCounter(0));
  EXPECT_TRUE(CreateLinuxHidBackend({.UdevRunning = true})->Enumerate().empty());
  const auto withoutUdev = CreateLinuxHidBackend({.UdevRunning = false})->Enumerate();
  ASSERT_EQ(withoutUdev.size(), 1u);
  EXPECT_EQ(withoutUdev[0].ProductString, "KVELT");
}

TEST(UdevState, WithoutUdevANodeMissingFromDevIsNotListed) {
  MockHidBus bus;
  const MockHidDevice counter = KveltCounter(0);
  bus.Add(counter);
  ASSERT_TRUE(bus.HideNode(counter));
  auto backend = CreateLinuxHidBackend({.UdevRunning = false});
  EXPECT_TRUE(backend->Enumerate().empty());
  ASSERT_TRUE(bus.ShowNode(counter));
  EXPECT_EQ(backend->Enumerate().size(), 1u);
}

TEST(UdevState, WithoutUdevTheCounterPluggedInLaterConnectsOnceItsNodeAppears) {
  MockHidBus bus;
  auto backend = CreateLinuxHidBackend({.UdevRunning = false});
  CounterLink link(*backend);
  link.Start();
  ASSERT_GE(link.Controller().MonitorFd(), 0) << "the kernel's events are watched";

  // The kernel announces the counter before /dev has its node.
  const MockHidDevice counter = KveltCounter(0);
  bus.Add(counter);
  ASSERT_TRUE(bus.HideNode(counter));
  bus.Uevent(counter, "add");
  ASSERT_TRUE(link.ServeMonitor(kTimeoutMs));
  EXPECT_TRUE(link.Labels().empty());
  EXPECT_FALSE(link.Connected());

  // The node appears; no further uevent comes.
  ASSERT_TRUE(bus.ShowNode(counter));
  ASSERT_TRUE(link.ServeMonitor(kTimeoutMs)) << "the appearing node wakes the program";
  EXPECT_EQ(link.Labels(), (std::vector<std::string>{"KVELT"}));
  ASSERT_TRUE(link.Connected());

  std::vector<std::uint8_t> report(65, 0);
  report[0] = 1;
  report[1] = 100;
  ASSERT_EQ(::write(bus.DeviceEnd(counter), report.data(), report.size()), 65);
  ASSERT_TRUE(link.WaitForReports(1, kTimeoutMs));
  EXPECT_EQ(link.Reports()[0], report);

  bus.Uevent(counter, "remove");
  bus.Remove(counter);
  ASSERT_TRUE(link.ServeMonitor(kTimeoutMs));
  EXPECT_TRUE(link.Labels().empty());
  EXPECT_EQ(link.Current(), nullptr);
}

}  // namespace
}  // namespace kvelt::hid::test
