#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kvelt::test {

// A fresh folder under the system's temporary folder, removed with its contents (also when a
// test took its owner's rights away).
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace kvelt::test
