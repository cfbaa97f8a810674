#pragma once

#include <string>
#include <string_view>

namespace kvelt::publish {

// The default topic prefix of a bench: kvelt/<host name>/<counter>, where the counter is its
// serial number or, without one, the last part of its path. Characters MQTT gives a meaning in
// topics ('/', '+', '#') and control bytes become '_' inside each part.
std::string DefaultTopicPrefix(std::string_view hostName, std::string_view serialNumber,
                               std::string_view path);

// A prefix given with --topic is valid for publishing: not empty, no '+' or '#', no control
// bytes; a trailing '/' is dropped.
bool ValidTopicPrefix(std::string& prefix);

}  // namespace kvelt::publish
