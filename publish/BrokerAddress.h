#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvelt::publish {

// Where the broker is: mqtt://HOST[:PORT] (port 1883 by default) or mqtts://HOST[:PORT] (TLS,
// 8883). HOST may be a name, an IPv4 address or an IPv6 address in brackets ([::1]).
struct BrokerAddress {
  std::string Host;
  int Port = 1883;
  bool Tls = false;
};

// nullopt with `why` set for another scheme, no host, or a port outside 1..65535.
std::optional<BrokerAddress> ParseBrokerAddress(std::string_view url, std::string& why);

}  // namespace kvelt::publish
