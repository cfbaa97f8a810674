#include "settings/SettingsWriteError.h"

namespace kvelt {

SettingsWriteError::SettingsWriteError(const std::string& path, const std::string& reason)
    : std::runtime_error("Unable to write to " + path + (reason.empty() ? "" : ": " + reason)),
      path_(path),
      reason_(reason) {}

}  // namespace kvelt
