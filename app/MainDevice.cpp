#include "app/Main.h"

void TFMain::CreateHidDeviceController() {}

void TFMain::SendReport(quint8 /*code*/, const void* /*payload*/, quint32 /*count*/) {}

bool TFMain::HidDeviceController1Enumerate(kvelt::hid::THidDevice* /*HidDev*/, int /*Idx*/) { return true; }

void TFMain::HidDeviceController1DeviceChange(QObject* /*Sender*/) {}
