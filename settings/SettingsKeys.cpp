#include "settings/SettingsKeys.h"

#include <stdexcept>

namespace kvelt::SettingsKeys {
namespace {

std::string ChannelKey(std::string_view stem, int n) {
  if (n < 1 || n > 4) throw std::out_of_range("settings key channel must be 1..4");
  return std::string(stem) + static_cast<char>('0' + n);
}

}  // namespace

std::string SavePos(int n) { return ChannelKey("SavePos", n); }
std::string SaveVer(int n) { return ChannelKey("SaveVer", n); }

}  // namespace kvelt::SettingsKeys
