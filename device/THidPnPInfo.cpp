#include "device/THidPnPInfo.h"

#include <utility>

namespace kvelt::hid {

THidPnPInfo::THidPnPInfo(HidInterfaceInfo info) : Info_(std::move(info)) {}

}  // namespace kvelt::hid
