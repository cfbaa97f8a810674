#include <gtest/gtest.h>

#include <algorithm>

#include "tests/device/ControllerFixture.h"

namespace kvelt::hid::test {
namespace {

using ScanTest = ControllerFixture;

TEST_F(ScanTest, FirstScanRunsFromThePostedNoticeAndReportsAChangeWithNoDevice) {
  Controller = std::make_unique<THidDeviceController>(Backend, Poster);
  Controller->OnDeviceChange = [this](THidDeviceController& sender) {
    EXPECT_EQ(&sender, Controller.get());
    ++Changes;
  };
  EXPECT_EQ(Backend.EnumerateCount(), 0) << "no scan before the main loop runs";
  EXPECT_EQ(Poster.RunPending(), 1u);
  EXPECT_EQ(Backend.EnumerateCount(), 1);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Controller->Count(), 0);
}

TEST_F(ScanTest, PostedFirstNoticeDoesNothingOnceTheControllerIsGone) {
  Controller = std::make_unique<THidDeviceController>(Backend, Poster);
  Controller.reset();
  EXPECT_EQ(Poster.RunPending(), 1u);
  EXPECT_EQ(Backend.EnumerateCount(), 0);
}

TEST_F(ScanTest, NoticeThatChangesNothingCallsNoDeviceChange) {
  Start({"a", "b"});
  ASSERT_EQ(Changes, 1);
  Backend.Announce();
  EXPECT_EQ(Backend.EnumerateCount(), 2);
  EXPECT_EQ(Changes, 1);
  Backend.RemoveInterface("a");
  Backend.Announce();
  EXPECT_EQ(Changes, 2);
}

// A node the user could not open becomes openable (a udev rule was installed and triggered):
// the notice that follows counts as a change, so the application takes the device again and
// this time may use it. Losing access, or a device that never had it, changes nothing.
TEST_F(ScanTest, GainingReadWriteAccessIsAChange) {
  auto locked = FakeHidBackend::Make("counter", "KVELT");
  locked.ReadWrite = false;
  auto keyboard = FakeHidBackend::Make("keyboard");
  keyboard.ReadWrite = false;
  Backend.SetInterfaces({locked, keyboard});
  Controller = std::make_unique<THidDeviceController>(Backend, Poster);
  Controller->OnDeviceChange = [this](THidDeviceController&) { ++Changes; };
  Poster.RunPending();
  ASSERT_EQ(Changes, 1);
  std::unique_ptr<THidDevice> held = Controller->CheckOutDevice(0);
  ASSERT_NE(held, nullptr);
  EXPECT_FALSE(held->ReadWriteAccess());

  Backend.Announce();
  EXPECT_EQ(Changes, 1) << "still locked: nothing changed";

  auto unlocked = FakeHidBackend::Make("counter", "KVELT");
  Backend.SetInterfaces({unlocked, keyboard});
  Backend.Announce();
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(ListIdentities(), (std::vector<std::string>{"counter", "keyboard"}));

  held.reset();  // checked in: the replacement opens with the access the node now grants
  held = Controller->CheckOutDevice(0);
  ASSERT_NE(held, nullptr);
  EXPECT_TRUE(held->ReadWriteAccess());

  Backend.SetInterfaces({locked, keyboard});
  Backend.Announce();
  EXPECT_EQ(Changes, 2) << "losing access is not announced; the next check-in finds out";
}

TEST_F(ScanTest, NoticeArrivingDuringAScanIsDropped) {
  Start({"a"});
  bool fired = false;
  Backend.DuringEnumerate = [&] {
    if (fired) return;
    fired = true;
    EXPECT_TRUE(Controller->ScanRunning());
    Backend.AddInterface(FakeHidBackend::Make("late"));
    Backend.Announce();  // dropped: the running scan already took its list
  };
  Backend.AddInterface(FakeHidBackend::Make("b"));
  Backend.Announce();
  EXPECT_EQ(Backend.EnumerateCount(), 2);
  EXPECT_EQ(ListIdentities(), (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(Controller->ScanRunning());
  Backend.Announce();  // the next notice scans again and finds the late one
  EXPECT_EQ(ListIdentities(), (std::vector<std::string>{"a", "b", "late"}));
}

TEST_F(ScanTest, ScanFlagIsClearedWhenTheChangeHandlerThrows) {
  Start({"a"});
  Controller->OnDeviceChange = [](THidDeviceController&) { throw std::runtime_error("boom"); };
  Backend.AddInterface(FakeHidBackend::Make("b"));
  EXPECT_THROW(Backend.Announce(), std::runtime_error);
  EXPECT_FALSE(Controller->ScanRunning());
}

TEST_F(ScanTest, MonitorReadableScansOnlyWhenTheBackendSaysSo) {
  Start({"a"});
  Backend.DrainResult = false;
  Controller->OnMonitorReadable();
  EXPECT_EQ(Backend.DrainCount(), 1);
  EXPECT_EQ(Backend.EnumerateCount(), 1);
  Backend.DrainResult = true;
  Controller->OnMonitorReadable();
  EXPECT_EQ(Backend.EnumerateCount(), 2);
  EXPECT_EQ(Controller->MonitorFd(), -1);
}

TEST_F(ScanTest, DevicesThatCannotBeOpenedAreLeftOut) {
  auto closed = FakeHidBackend::Make("closed");
  closed.Openable = false;
  auto keyboard = FakeHidBackend::Make("keyboard");
  keyboard.ReadWrite = false;
  Backend.SetInterfaces({FakeHidBackend::Make("a"), closed, keyboard});
  Controller = std::make_unique<THidDeviceController>(Backend, Poster);
  Poster.RunPending();
  EXPECT_EQ(ListIdentities(), (std::vector<std::string>{"a", "keyboard"}));
  EXPECT_TRUE(Controller->DeviceAt(0)->ReadWriteAccess());
  EXPECT_FALSE(Controller->DeviceAt(1)->ReadWriteAccess());
  EXPECT_EQ(Backend.OpenHandles(), 0) << "creation closes what it opened";
}

// Scans from one set of interfaces to another: the list keeps surviving entries (same
// objects, same relative order), drops vanished ones and appends new ones in system order.
struct ScanCase {
  const char* Name;
  std::vector<std::string> Before;
  std::vector<std::string> After;
  std::vector<std::string> Expected;
  bool Changed;
};

class ScanOrderTest : public ControllerFixture, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ScanOrderTest, SurvivorsKeepTheirObjectsAndPlaces) {
  const ScanCase& c = GetParam();
  Start(c.Before);
  const std::vector<THidDevice*> before = ListObjects();
  std::vector<FakeHidBackend::Interface> after;
  for (const std::string& id : c.After) after.push_back(FakeHidBackend::Make(id));
  Backend.SetInterfaces(after);
  Backend.Announce();
  EXPECT_EQ(ListIdentities(), c.Expected);
  for (int i = 0; i < Controller->Count(); ++i) {
    const std::string id = Controller->DeviceAt(i)->PnPInfo().DeviceInstance();
    const auto old = std::find(c.Before.begin(), c.Before.end(), id);
    if (old != c.Before.end()) {
      EXPECT_EQ(Controller->DeviceAt(i), before[static_cast<std::size_t>(old - c.Before.begin())])
          << id << " must be the same object";
    }
  }
  EXPECT_EQ(Changes, c.Changed ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Scans, ScanOrderTest,
    ::testing::Values(
        ScanCase{"Unchanged", {"a", "b", "c"}, {"a", "b", "c"}, {"a", "b", "c"}, false},
        ScanCase{"NewOneListedFirstIsAppended", {"a", "b"}, {"n", "a", "b"}, {"a", "b", "n"}, true},
        ScanCase{"SystemReordersSurvivors", {"a", "b", "c"}, {"c", "b", "a"}, {"a", "b", "c"}, false},
        ScanCase{"MiddleVanishes", {"a", "b", "c"}, {"a", "c"}, {"a", "c"}, true},
        ScanCase{"AllVanish", {"a", "b"}, {}, {}, true},
        ScanCase{"ReplaceAndAdd", {"a", "b"}, {"x", "b", "y"}, {"b", "x", "y"}, true},
        ScanCase{"DuplicateIdentityListedOnce", {}, {"a", "a"}, {"a"}, true}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return info.param.Name; });

TEST_F(ScanTest, ArrivalAndRemovalEventsFollowTheScan) {
  Start({"a", "b"});
  std::vector<std::string> arrived, removed;
  Controller->OnArrival = [&](THidDevice& d) { arrived.push_back(d.PnPInfo().DeviceInstance()); };
  Controller->OnRemoval = [&](THidDevice& d) {
    EXPECT_FALSE(d.PluggedIn());
    removed.push_back(d.PnPInfo().DeviceInstance());
  };
  Backend.SetInterfaces({FakeHidBackend::Make("b"), FakeHidBackend::Make("c")});
  Backend.Announce();
  EXPECT_EQ(arrived, (std::vector<std::string>{"c"}));
  EXPECT_EQ(removed, (std::vector<std::string>{"a"}));
}

TEST_F(ScanTest, EnumerateVisitsPluggedInDevicesInOrderAndStopsAtFalse) {
  Start({"a", "b", "c"});
  std::vector<int> seen;
  Controller->OnEnumerate = [&](THidDevice& d, int idx) {
    EXPECT_TRUE(d.InEnumeration());
    EXPECT_EQ(Controller->DeviceAt(idx), &d);
    seen.push_back(idx);
    return idx < 1;
  };
  EXPECT_EQ(Controller->EnumerateDevices(), 2);
  EXPECT_EQ(seen, (std::vector<int>{0, 1}));
  for (THidDevice* d : ListObjects()) EXPECT_FALSE(d->InEnumeration());
}

TEST_F(ScanTest, EnumerateWithoutHandlerVisitsNothing) {
  Start({"a"});
  EXPECT_EQ(Controller->EnumerateDevices(), 0);
}

TEST_F(ScanTest, EnumerateSkipsUnpluggedEntriesStillLent) {
  Start({"a", "b"});
  auto lent = Controller->CheckOutDevice(0);
  Backend.RemoveInterface("a");
  Backend.Announce();
  ASSERT_EQ(Controller->Count(), 2);
  EXPECT_EQ(Controller->NumUnpluggedDevices(), 1);
  std::vector<int> seen;
  Controller->OnEnumerate = [&](THidDevice&, int idx) {
    seen.push_back(idx);
    return true;
  };
  EXPECT_EQ(Controller->EnumerateDevices(), 1);
  EXPECT_EQ(seen, (std::vector<int>{1}));
}

// The opening rules: handles open only while plugged in and checked out or being enumerated;
// after the walk, devices left checked in have no handle open.
TEST_F(ScanTest, HandlesOpenOnlyWhileEnumeratedOrCheckedOut) {
  std::vector<FakeHidBackend::Interface> interfaces{FakeHidBackend::Make("a", "KVELT"),
                                                    FakeHidBackend::Make("b", "Other")};
  interfaces[0].Info.OutputReportByteLength = 33;
  Backend.SetInterfaces(interfaces);
  Controller = std::make_unique<THidDeviceController>(Backend, Poster);
  Poster.RunPending();
  THidDevice* a = Controller->DeviceAt(0);
  EXPECT_EQ(a->ProductString(), "") << "a checked-in device may not open a handle";
  EXPECT_EQ(a->Caps().OutputReportByteLength, 0);
  std::size_t written = 7;
  const std::uint8_t report[2] = {1, 104};
  EXPECT_FALSE(a->WriteFile(report, 2, written));
  EXPECT_EQ(written, 0u);

  std::vector<std::unique_ptr<THidDevice>> held;
  Controller->OnEnumerate = [&](THidDevice& d, int idx) {
    EXPECT_FALSE(d.ProductString().empty());
    if (idx == 0) {
      std::size_t n = 0;
      EXPECT_TRUE(d.WriteFile(report, 2, n));  // leaves the synchronous handle open
      held.push_back(Controller->CheckOutDevice(idx));
    } else {
      std::size_t n = 0;
      EXPECT_TRUE(d.WriteFile(report, 2, n));
    }
    return true;
  };
  Controller->EnumerateDevices();
  EXPECT_EQ(Backend.OpenHandles(), 1) << "only the checked-out device keeps its handle";
  EXPECT_EQ(a->ProductString(), "KVELT");
  EXPECT_EQ(a->Caps().InputReportByteLength, 65);
  EXPECT_EQ(a->Caps().OutputReportByteLength, 33);
  EXPECT_EQ(Controller->DeviceAt(1)->ProductString(), "Other") << "cached from the walk";
  held.clear();
  EXPECT_EQ(Backend.OpenHandles(), 0);
}

TEST_F(ScanTest, SleepTimeFollowsTheControllerOnlyWhereItWasNotChanged) {
  Start({"a", "b"});
  THidDevice* a = Controller->DeviceAt(0);
  THidDevice* b = Controller->DeviceAt(1);
  EXPECT_EQ(a->SleepTime(), 100);
  b->SetSleepTime(250);
  for (int ignored : {9, 10001, -5}) {
    b->SetSleepTime(ignored);
    EXPECT_EQ(b->SleepTime(), 250);
  }
  Controller->SetDevThreadSleepTime(40);
  EXPECT_EQ(a->SleepTime(), 40);
  EXPECT_EQ(b->SleepTime(), 250);
  Controller->SetDevThreadSleepTime(5);  // kept by the controller, refused by the devices
  EXPECT_EQ(Controller->DevThreadSleepTime(), 5);
  EXPECT_EQ(a->SleepTime(), 40);
  Backend.AddInterface(FakeHidBackend::Make("c"));
  Backend.Announce();
  EXPECT_EQ(Controller->DeviceAt(2)->SleepTime(), 100);
}

}  // namespace
}  // namespace kvelt::hid::test
