#include "publish/TopicNames.h"

namespace kvelt::publish {
namespace {

std::string TopicPart(std::string_view text) {
  std::string part;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    part += c == '/' || c == '+' || c == '#' || byte < 0x20 || byte == 0x7F ? '_' : c;
  }
  return part.empty() ? std::string("_") : part;
}

}  // namespace

std::string DefaultTopicPrefix(std::string_view hostName, std::string_view serialNumber,
                               std::string_view path) {
  std::string_view counter = serialNumber;
  if (counter.empty()) {
    const std::size_t slash = path.rfind('/');
    counter = slash == std::string_view::npos ? path : path.substr(slash + 1);
  }
  return "kvelt/" + TopicPart(hostName) + "/" + TopicPart(counter);
}

bool ValidTopicPrefix(std::string& prefix) {
  while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
  if (prefix.empty()) return false;
  for (const char c : prefix) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '+' || c == '#' || byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

}  // namespace kvelt::publish
