#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>

#include "tests/support/TempFolder.h"

namespace kvelt::test {

// The bytes of a file, written whole and read whole.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Permission bits do not bind root, so a test of write-protected files and folders runs its
// body as an unprivileged user: directly when the process is not root, else in a child
// process that has become nobody, after the folder (with what it holds) was handed to nobody.
// The test fails when the body does; it is skipped only where root cannot become nobody.
inline void RunUnprivileged(const TempFolder& folder, const std::function<void()>& body) {
  if (::geteuid() != 0) {
    body();
    return;
  }
  constexpr uid_t kNobody = 65534;
  constexpr gid_t kNoGroup = 65534;
  constexpr int kCannotDrop = 77;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
    ASSERT_EQ(::lchown(entry.path().c_str(), kNobody, kNoGroup), 0);
  }
  ASSERT_EQ(::lchown(folder.Path().c_str(), kNobody, kNoGroup), 0);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)
      ::_exit(kCannotDrop);
    // Nothing may leave the child but its exit status, or it would run the remaining tests too.
    try {
      body();
    } catch (const std::exception& error) {
      ADD_FAILURE() << "unexpected exception: " << error.what();
    } catch (...) {
      ADD_FAILURE() << "unexpected exception";
    }
    std::fflush(nullptr);
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the unprivileged part ended with status " << status;
  if (WEXITSTATUS(status) == kCannotDrop)
    GTEST_SKIP() << "root could not become nobody to test permission bits";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged part failed (its output is above)";
}

}  // namespace kvelt::test
