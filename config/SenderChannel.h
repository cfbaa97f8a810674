#pragma once

#include <optional>
#include <string_view>

namespace kvelt {

// The four like controls of a channel row are named after their channel: the last character of
// the object name is '0'..'3' for channels 1..4. Returns 0..3, or nullopt for any other name.
std::optional<int> ChannelFromSenderName(std::string_view objectName);

}  // namespace kvelt
