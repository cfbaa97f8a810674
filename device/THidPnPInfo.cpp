#include "device/THidPnPInfo.h"

#include <utility>

namespace kvelt::hid {

THidPnPInfo::THidPnPInfo(HidInterfaceInfo info) : info_(std::move(info)) {}

}  // namespace kvelt::hid
