#include "publish/BrokerAddress.h"

#include <charconv>

namespace kvelt::publish {

std::optional<BrokerAddress> ParseBrokerAddress(std::string_view url, std::string& why) {
  BrokerAddress address;
  if (url.starts_with("mqtt://")) {
    url.remove_prefix(7);
  } else if (url.starts_with("mqtts://")) {
    url.remove_prefix(8);
    address.Tls = true;
    address.Port = 8883;
  } else {
    why = "the broker is mqtt://HOST[:PORT] or mqtts://HOST[:PORT]";
    return std::nullopt;
  }
  if (!url.empty() && url.back() == '/') url.remove_suffix(1);
  std::string_view port;
  if (url.starts_with("[")) {
    const std::size_t close = url.find(']');
    if (close == std::string_view::npos) {
      why = "an IPv6 address is written in brackets: [::1]";
      return std::nullopt;
    }
    address.Host = std::string(url.substr(1, close - 1));
    const std::string_view rest = url.substr(close + 1);
    if (!rest.empty()) {
      if (rest[0] != ':') {
        why = "\"" + std::string(rest) + "\" after the address";
        return std::nullopt;
      }
      port = rest.substr(1);
    }
  } else {
    const std::size_t colon = url.find(':');
    address.Host = std::string(url.substr(0, colon));
    if (colon != std::string_view::npos) port = url.substr(colon + 1);
  }
  if (address.Host.empty() || address.Host.find_first_of("/?#@ ") != std::string::npos) {
    why = "no broker host";
    return std::nullopt;
  }
  if (url.find(':') != std::string_view::npos && !url.starts_with("[") && port.empty()) {
    why = "no port after ':'";
    return std::nullopt;
  }
  if (!port.empty()) {
    int number = 0;
    const auto result = std::from_chars(port.data(), port.data() + port.size(), number);
    if (result.ec != std::errc() || result.ptr != port.data() + port.size() || number < 1 || number > 65535) {
      why = "the port is 1..65535, not \"" + std::string(port) + "\"";
      return std::nullopt;
    }
    address.Port = number;
  }
  return address;
}

}  // namespace kvelt::publish
