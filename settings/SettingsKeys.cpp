#include "settings/SettingsKeys.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

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

namespace kvelt::SettingsDefaults {
namespace {

constexpr std::string_view kSaveFileName = "pomiar.csv";

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return home;
  }
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return {};
}

}  // namespace

std::string SaveFile() {
  std::string folder = HomeFolder();
  if (folder.empty()) {
    return std::string(kSaveFileName);
  }
  if (folder.back() != '/') {
    folder += '/';
  }
  return folder + std::string(kSaveFileName);
}

}  // namespace kvelt::SettingsDefaults
