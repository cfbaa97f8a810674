#include "config/SenderChannel.h"

namespace kvelt {

std::optional<int> ChannelFromSenderName(std::string_view objectName) {
  if (objectName.empty()) {
    return std::nullopt;
  }
  const char last = objectName.back();
  if (last < '0' || last > '3') {
    return std::nullopt;
  }
  return last - '0';
}

}  // namespace kvelt
