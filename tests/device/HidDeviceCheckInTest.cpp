#include <gtest/gtest.h>

#include "tests/device/ControllerFixture.h"

namespace kvelt::hid::test {
namespace {

using CheckInTest = ControllerFixture;

TEST_F(CheckInTest, CheckOutRefusesIndicesOutsideTheListAndDevicesAlreadyLent) {
  Start({"a", "b"});
  for (int index : {-1, 2, 100}) EXPECT_EQ(Controller->CheckOutDevice(index), nullptr) << index;
  auto first = Controller->CheckOutDevice(1);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->CheckedOut());
  EXPECT_EQ(first->Controller(), Controller.get());
  EXPECT_EQ(Controller->CheckOutDevice(1), nullptr);
  EXPECT_EQ(Controller->NumCheckedOutDevices(), 1);
  EXPECT_EQ(Controller->NumCheckedInDevices(), 1);
}

TEST_F(CheckInTest, CheckingInAPresentDeviceLeavesAFreshObjectWithTheSameHandlers) {
  Start({"a", "b", "c"});
  int dataCalls = 0, unplugCalls = 0;
  auto lent = Controller->CheckOutDevice(1);
  ASSERT_NE(lent, nullptr);
  THidDevice* old = lent.get();
  lent->SetUnplugHandler([&](THidDevice&) { ++unplugCalls; });
  lent->SetSleepTime(333);
  // A handler set on a lent device starts its reader.
  lent->SetDataHandler([&](THidDevice&, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++dataCalls; });
  EXPECT_TRUE(lent->ReaderRunning());
  lent.reset();

  THidDevice* fresh = Controller->DeviceAt(1);
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, old);
  EXPECT_EQ(fresh->PnPInfo().DeviceInstance(), "b");
  EXPECT_FALSE(fresh->CheckedOut());
  EXPECT_FALSE(fresh->ReaderRunning()) << "checked in: no reader";
  EXPECT_EQ(fresh->SleepTime(), 333);
  ASSERT_TRUE(fresh->DataHandler());
  ASSERT_TRUE(fresh->UnplugHandler());
  const std::uint8_t code = 100;
  fresh->DataHandler()(*fresh, 1, &code, 1);
  fresh->UnplugHandler()(*fresh);
  EXPECT_EQ(dataCalls, 1);
  EXPECT_EQ(unplugCalls, 1);
  EXPECT_EQ(Controller->Count(), 3);
  EXPECT_EQ(Backend.OpenHandles(), 0);

  // Lent again, the saved handler starts the reader at once.
  auto again = Controller->CheckOutDevice(1);
  EXPECT_TRUE(again->ReaderRunning());
}

TEST_F(CheckInTest, CheckingInAnUnpluggedDeviceShortensTheList) {
  Start({"a", "b", "c"});
  int unplugCalls = 0;
  auto lent = Controller->CheckOutDevice(1);
  lent->SetUnplugHandler([&](THidDevice& d) {
    EXPECT_FALSE(d.PluggedIn());
    ++unplugCalls;
  });
  Backend.RemoveInterface("b");
  Backend.Announce();
  EXPECT_EQ(unplugCalls, 1);
  EXPECT_FALSE(lent->PluggedIn());
  EXPECT_EQ(Controller->Count(), 3) << "a lent entry stays until it is checked in";
  EXPECT_EQ(Controller->DeviceAt(1), lent.get());
  Backend.Announce();
  EXPECT_EQ(unplugCalls, 1) << "the unplug handler runs once";
  lent.reset();
  EXPECT_EQ(ListIdentities(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(CheckInTest, ReplacementThatCannotBeOpenedDropsTheEntryAndLeavesScansWorking) {
  Start({"a", "b"});
  std::vector<std::unique_ptr<THidDevice>> held;
  Controller->OnEnumerate = [&](THidDevice&, int idx) {
    held.push_back(Controller->CheckOutDevice(idx));
    return true;
  };
  // Like the window: check everything in, then out again, on every change.
  Controller->OnDeviceChange = [&](THidDeviceController& c) {
    ++Changes;
    held.clear();
    c.EnumerateDevices();
  };
  Backend.AddInterface(FakeHidBackend::Make("c"));
  Backend.Announce();
  ASSERT_EQ(held.size(), 3u);
  Backend.SetOpenable("b", false);  // gone between the scan and the check-in
  held.clear();
  EXPECT_EQ(ListIdentities(), (std::vector<std::string>{"a", "c"}));
  EXPECT_FALSE(Controller->ScanRunning());
  Backend.SetOpenable("b", true);
  Backend.Announce();
  EXPECT_EQ(ListIdentities(), (std::vector<std::string>{"a", "c", "b"}));
  EXPECT_EQ(held.size(), 3u);
}

TEST_F(CheckInTest, MetadataOnlyDeviceIsListedButGetsNoReader) {
  auto keyboard = FakeHidBackend::Make("keyboard", "Keyboard", 0x1209, 0x0002, false);
  keyboard.Info.InputReportByteLength = 9;
  Backend.SetInterfaces({keyboard});
  Controller = std::make_unique<THidDeviceController>(Backend, Poster);
  Poster.RunPending();
  auto lent = Controller->CheckOutDevice(0);
  ASSERT_NE(lent, nullptr);
  EXPECT_FALSE(lent->ReadWriteAccess());
  EXPECT_EQ(lent->ProductString(), "Keyboard");
  EXPECT_EQ(lent->Caps().InputReportByteLength, 9);
  lent->SetDataHandler([](THidDevice&, std::uint8_t, const std::uint8_t*, std::uint16_t) {});
  EXPECT_FALSE(lent->ReaderRunning());
  std::size_t written = 1;
  const std::uint8_t report[2] = {1, 0};
  EXPECT_FALSE(lent->WriteFile(report, 2, written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(Backend.OpenCount(HidOpenMode::ReadOnly), 0);
}

TEST_F(CheckInTest, DestroyingTheControllerStopsReadersAndLeavesLentDevicesDetached) {
  Start({"a", "b"});
  Backend.SetEndlessReports("a", true);
  auto lent = Controller->CheckOutDevice(0);
  int reports = 0;
  lent->SetDataHandler([&](THidDevice&, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++reports; });
  ASSERT_TRUE(Poster.RunUntil([&] { return reports >= 3; }, std::chrono::seconds(10)));
  Controller.reset();
  EXPECT_FALSE(lent->ReaderRunning());
  EXPECT_FALSE(lent->PluggedIn());
  EXPECT_EQ(lent->Controller(), nullptr);
  EXPECT_EQ(Backend.OpenHandles(), 0);
  const int seen = reports;
  Poster.RunPending();  // stale wake-ups of the stopped reader do nothing
  EXPECT_EQ(reports, seen);
  std::size_t written = 0;
  const std::uint8_t report[2] = {1, 104};
  EXPECT_FALSE(lent->WriteFile(report, 2, written));
  lent.reset();  // no controller left to check in with
}

TEST_F(CheckInTest, WriteGoesOutWhole) {
  Start({"a"});
  auto lent = Controller->CheckOutDevice(0);
  const std::uint8_t report[4] = {1, 110, 0xE8, 0x03};
  std::size_t written = 0;
  EXPECT_TRUE(lent->WriteFile(report, sizeof report, written));
  EXPECT_EQ(written, sizeof report);
  EXPECT_TRUE(lent->WriteFile(report, 2, written));
  const auto sent = Backend.Written("a");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], (std::vector<std::uint8_t>{1, 110, 0xE8, 0x03}));
  EXPECT_EQ(sent[1], (std::vector<std::uint8_t>{1, 110}));
}

}  // namespace
}  // namespace kvelt::hid::test
