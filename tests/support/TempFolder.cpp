#include "tests/support/TempFolder.h"

#include <random>
#include <system_error>

namespace kvelt::test {

TempFolder::TempFolder() {
  std::random_device random;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() /
            ("kvelt-test-" + std::to_string(random()) + "-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) return;  // a new one, not another test's
  }
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                               error);
  std::filesystem::remove_all(path_, error);
}

}  // namespace kvelt::test
