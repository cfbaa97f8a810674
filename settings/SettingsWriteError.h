#pragma once

#include <stdexcept>
#include <string>

namespace kvelt {

// Raised when a settings write cannot reach the file; the message names the file.
class SettingsWriteError : public std::runtime_error {
 public:
  // `reason`, when given, follows the file's name.
  explicit SettingsWriteError(const std::string& path, const std::string& reason = {});

  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

}  // namespace kvelt
