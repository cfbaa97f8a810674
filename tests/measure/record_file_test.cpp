#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "measure/RecordFile.h"

namespace kvelt {
namespace {

namespace fs = std::filesystem;

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> sequence{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    directory_ = fs::temp_directory_path() /
                 ("kvelt-record-" + std::to_string(stamp) + "-" + std::to_string(sequence++));
    fs::create_directories(directory_);
  }
  void TearDown() override {
    std::error_code error;
    fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(directory_, error);
  }

  std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void Put(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
  }

  fs::path directory_;
};

TEST_F(RecordFileTest, CreatesAMissingFileAndAppendsLineAfterLine) {
  const std::string path = PathOf("pomiar.csv");
  ASSERT_FALSE(fs::exists(path));
  EXPECT_EQ(AppendLineToFile(path, "1,50;-2,00;\r\n"), AppendResult::Written);
  EXPECT_EQ(AppendLineToFile(path, "\r\n"), AppendResult::Written);
  EXPECT_EQ(AppendLineToFile(path, "3,00;\r\n"), AppendResult::Written);
  EXPECT_EQ(Contents(path), "1,50;-2,00;\r\n\r\n3,00;\r\n");
}

TEST_F(RecordFileTest, KeepsWhatTheFileHeldBefore) {
  const std::string path = PathOf("old.csv");
  Put(path, "old line\r\nno line break");
  EXPECT_EQ(AppendLineToFile(path, "new;\r\n"), AppendResult::Written);
  EXPECT_EQ(Contents(path), "old line\r\nno line breaknew;\r\n");
}

TEST_F(RecordFileTest, FileCanBeMovedAwayBetweenLines) {
  const std::string path = PathOf("a.csv");
  ASSERT_EQ(AppendLineToFile(path, "1;\r\n"), AppendResult::Written);
  fs::rename(path, PathOf("b.csv"));
  ASSERT_EQ(AppendLineToFile(path, "2;\r\n"), AppendResult::Written);
  EXPECT_EQ(Contents(PathOf("b.csv")), "1;\r\n");
  EXPECT_EQ(Contents(path), "2;\r\n");
}

TEST_F(RecordFileTest, UnopenablePathsFailToOpenAndCreateNothing) {
  EXPECT_EQ(AppendLineToFile("", "x;\r\n"), AppendResult::OpenFailed);
  EXPECT_EQ(AppendLineToFile(directory_.string(), "x;\r\n"), AppendResult::OpenFailed);
  const std::string inMissingFolder = PathOf("missing/pomiar.csv");
  EXPECT_EQ(AppendLineToFile(inMissingFolder, "x;\r\n"), AppendResult::OpenFailed);
  EXPECT_FALSE(fs::exists(PathOf("missing")));
}

TEST_F(RecordFileTest, ReadOnlyFileFailsToOpenAndIsLeftAlone) {
  const std::string path = PathOf("locked.csv");
  Put(path, "kept\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  if (std::FILE* probe = std::fopen(path.c_str(), "ab")) {
    std::fclose(probe);
    GTEST_SKIP() << "running with rights that ignore file permissions";
  }
  EXPECT_EQ(AppendLineToFile(path, "x;\r\n"), AppendResult::OpenFailed);
  EXPECT_EQ(Contents(path), "kept\r\n");
}

TEST_F(RecordFileTest, FullDeviceReportsAWriteFailure) {
  if (!fs::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full";
  }
  EXPECT_EQ(AppendLineToFile("/dev/full", "1,50;-2,00;\r\n"), AppendResult::WriteFailed);
}

// Writers standing in for a disk that fills up in the middle of a line.
std::size_t WriteHalf(const char* data, std::size_t size, std::FILE* file) {
  return std::fwrite(data, 1, size / 2, file);
}
std::size_t WriteNothing(const char*, std::size_t, std::FILE*) { return 0; }
std::size_t WriteAllButOne(const char* data, std::size_t size, std::FILE* file) {
  return std::fwrite(data, 1, size - 1, file);
}

class RecordFileShortWrite : public RecordFileTest, public ::testing::WithParamInterface<LineWriter> {};

TEST_P(RecordFileShortWrite, LeavesNoPartialLineForTheNextOneToJoin) {
  const std::string path = PathOf("pomiar.csv");
  ASSERT_EQ(AppendLineToFile(path, "1,00;2,00;\r\n"), AppendResult::Written);
  EXPECT_EQ(AppendLineToFile(path, "3,00;4,00;\r\n", GetParam()), AppendResult::WriteFailed);
  EXPECT_EQ(Contents(path), "1,00;2,00;\r\n");
  ASSERT_EQ(AppendLineToFile(path, "5,00;6,00;\r\n"), AppendResult::Written);
  EXPECT_EQ(Contents(path), "1,00;2,00;\r\n5,00;6,00;\r\n");
}

TEST_P(RecordFileShortWrite, NewFileStaysEmpty) {
  const std::string path = PathOf("new.csv");
  EXPECT_EQ(AppendLineToFile(path, "3,00;4,00;\r\n", GetParam()), AppendResult::WriteFailed);
  EXPECT_EQ(Contents(path), "");
}

INSTANTIATE_TEST_SUITE_P(DiskFull, RecordFileShortWrite,
                         ::testing::Values(&WriteHalf, &WriteNothing, &WriteAllButOne));

}  // namespace
}  // namespace kvelt
