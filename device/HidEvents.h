#pragma once

#include <cstdint>
#include <functional>

namespace kvelt::hid {

class THidDevice;
class THidDeviceController;

// Called by EnumerateDevices for every plugged-in device; Idx is its index in the device
// list. Return true to go on, false to stop the walk.
using THidEnumerateEvent = std::function<bool(THidDevice& HidDev, int Idx)>;

// One input report: ReportID is byte 0 of the report as read, Data points at byte 1 (the code
// byte), Size is the number of bytes from Data on. Data is valid only during the call.
using THidDataEvent = std::function<void(THidDevice& HidDev, std::uint8_t ReportID, const std::uint8_t* Data,
                                         std::uint16_t Size)>;

// The device was found unplugged (or arrived / was removed, for the controller's events).
using THidPlugEvent = std::function<void(THidDevice& HidDev)>;

// A read could not be started; Error is the system error code (errno values).
using THidDataErrorEvent = std::function<void(THidDevice& HidDev, std::uint32_t Error)>;

// A plain notification carrying its sender.
using TNotifyEvent = std::function<void(THidDeviceController& Sender)>;

}  // namespace kvelt::hid
