#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/HidControllerClass.h"
#include "device/TaskQueuePoster.h"
#include "tests/support/FakeHidBackend.h"

namespace kvelt::hid::test {

// A controller on a fake backend, with the main thread played by the test itself.
class ControllerFixture : public ::testing::Test {
 protected:
  // Creates the controller and runs the posted first notification (the first scan).
  void Start(std::vector<std::string> identities = {}) {
    std::vector<FakeHidBackend::Interface> interfaces;
    for (const std::string& id : identities) interfaces.push_back(FakeHidBackend::Make(id));
    Backend.SetInterfaces(std::move(interfaces));
    Controller = std::make_unique<THidDeviceController>(Backend, Poster);
    Controller->OnDeviceChange = [this](THidDeviceController&) { ++Changes; };
    Poster.RunPending();
  }

  // The identities of the list entries, in list order.
  std::vector<std::string> ListIdentities() const {
    std::vector<std::string> result;
    for (int i = 0; i < Controller->Count(); ++i) {
      result.push_back(Controller->DeviceAt(i)->PnPInfo().DeviceInstance());
    }
    return result;
  }

  std::vector<THidDevice*> ListObjects() const {
    std::vector<THidDevice*> result;
    for (int i = 0; i < Controller->Count(); ++i) result.push_back(Controller->DeviceAt(i));
    return result;
  }

  FakeHidBackend Backend;
  TaskQueuePoster Poster;
  std::unique_ptr<THidDeviceController> Controller;
  int Changes = 0;
};

}  // namespace kvelt::hid::test
