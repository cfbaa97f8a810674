#include "settings/SettingsWriteError.h"

namespace kvelt {

SettingsWriteError::SettingsWriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path), path_(path) {}

}  // namespace kvelt
