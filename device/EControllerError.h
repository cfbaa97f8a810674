#pragma once

#include <stdexcept>
#include <string>

namespace kvelt::hid {

// Raised while a device object is created when the device cannot be opened or identified.
// The scan catches it and leaves the device out; it never reaches the user.
class EControllerError : public std::runtime_error {
 public:
  explicit EControllerError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kvelt::hid
