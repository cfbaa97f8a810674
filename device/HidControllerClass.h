#pragma once

// The HID device layer: the controller that keeps the list of HID interfaces and follows
// device changes, the device objects it lends to the application, their readers, and the
// event types the application's handlers take.

#include "device/EControllerError.h"
#include "device/HidBackend.h"
#include "device/HidEvents.h"
#include "device/MainThreadPoster.h"
#include "device/THidCaps.h"
#include "device/THidDevice.h"
#include "device/THidDeviceController.h"
#include "device/THidDeviceReadThread.h"
#include "device/THidPnPInfo.h"
