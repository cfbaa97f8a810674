#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "measure/RecordFile.h"
#include "tests/support/TempFolder.h"

namespace kvelt {
namespace {

namespace fs = std::filesystem;

class RecordFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return folder_.File(name); }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void Put(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
  }

  test::TempFolder folder_;
};

TEST_F(RecordFileTest, CreatesAMissingFileAndAppendsLineAfterLine) {
  const std::string path = PathOf("pomiar.csv");
  ASSERT_FALSE(fs::exists(path));
  EXPECT_EQ(AppendLineToFile(path, "1,50;-2,00;\r\n"), AppendResult::Written);
  EXPECT_EQ(AppendLineToFile(path, "\r\n"), AppendResult::Written);
  EXPECT_EQ(AppendLineToFile(path, "3,00;\r\n"), AppendResult::Written);
  EXPECT_EQ(Contents(path), "1,50;-2,00;\r\n\r\n3,00;\r\n");
}

struct HeldCase {
  const char* Held;
  const char* After;
};

class RecordFileHeld : public RecordFileTest, public ::testing::WithParamInterface<HeldCase> {};

// What the file held stays; a last line cut short (a crash on a full disk) gets its line end
// before the new line, never the new line glued to it.
TEST_P(RecordFileHeld, KeepsItAndStartsTheLineOnALineOfItsOwn) {
  const std::string path = PathOf("old.csv");
  Put(path, GetParam().Held);
  EXPECT_EQ(AppendLineToFile(path, ""), AppendResult::Written);
  EXPECT_EQ(Contents(path), GetParam().Held);
  EXPECT_EQ(AppendLineToFile(path, "new;\r\n"), AppendResult::Written);
  EXPECT_EQ(Contents(path), GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(Endings, RecordFileHeld,
                         ::testing::Values(HeldCase{"", "new;\r\n"},
                                           HeldCase{"old line\r\n", "old line\r\nnew;\r\n"},
                                           HeldCase{"unix line\n", "unix line\nnew;\r\n"},
                                           HeldCase{"1,00;2.92;0", "1,00;2.92;0\r\nnew;\r\n"},
                                           HeldCase{"cut after CR\r", "cut after CR\r\nnew;\r\n"}));

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
  EXPECT_EQ(AppendLineToFile(folder_.Path().string(), "x;\r\n"), AppendResult::OpenFailed);
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
long WriteHalf(int descriptor, const char* data, std::size_t size) {
  return static_cast<long>(::write(descriptor, data, size / 2));
}
long WriteNothing(int, const char*, std::size_t) { return 0; }
long WriteFails(int, const char*, std::size_t) { return -1; }
long WriteAllButOne(int descriptor, const char* data, std::size_t size) {
  return static_cast<long>(::write(descriptor, data, size - 1));
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
                         ::testing::Values(&WriteHalf, &WriteNothing, &WriteFails, &WriteAllButOne));

// Another program appends to the same file while our write fails half-way: its data stays.
std::string g_otherWriterPath;
long WriteHalfWhileAnotherAppends(int descriptor, const char* data, std::size_t size) {
  const long written = static_cast<long>(::write(descriptor, data, size / 2));
  std::ofstream other(g_otherWriterPath, std::ios::binary | std::ios::app);
  other << "other;\r\n";
  return written;
}

TEST_F(RecordFileTest, NeverCutsWhatAnotherProgramAppended) {
  g_otherWriterPath = PathOf("shared.csv");
  Put(g_otherWriterPath, "1;\r\n");
  EXPECT_EQ(AppendLineToFile(g_otherWriterPath, "22;\r\n", &WriteHalfWhileAnotherAppends),
            AppendResult::WriteFailed);
  EXPECT_EQ(Contents(g_otherWriterPath), "1;\r\n22other;\r\n");
}

// Paths that are not a file must fail at once: an open that waited for a FIFO's reader would
// freeze the window. alarm() ends the test program if an open blocks.
class AlarmGuard {
 public:
  AlarmGuard() { ::alarm(10); }
  ~AlarmGuard() { ::alarm(0); }
  AlarmGuard(const AlarmGuard&) = delete;
  AlarmGuard& operator=(const AlarmGuard&) = delete;
};

enum class SpecialFile { FifoWithoutReader, FifoWithReader, Socket };

class RecordFileSpecial : public RecordFileTest, public ::testing::WithParamInterface<SpecialFile> {};

TEST_P(RecordFileSpecial, IsRefusedWithoutWaiting) {
  const std::string path = PathOf("special");
  int reader = -1;
  int socketDescriptor = -1;
  switch (GetParam()) {
    case SpecialFile::FifoWithoutReader:
      ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
      break;
    case SpecialFile::FifoWithReader:
      ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
      reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
      ASSERT_GE(reader, 0);
      break;
    case SpecialFile::Socket: {
      socketDescriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
      ASSERT_GE(socketDescriptor, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      ASSERT_LT(path.size(), sizeof address.sun_path);
      path.copy(address.sun_path, path.size());
      ASSERT_EQ(::bind(socketDescriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
      ASSERT_EQ(::listen(socketDescriptor, 1), 0);
      break;
    }
  }
  {
    AlarmGuard guard;
    EXPECT_EQ(AppendLineToFile(path, "1,00;\r\n"), AppendResult::OpenFailed);
    EXPECT_EQ(AppendLineToFile(path, "2,00;\r\n"), AppendResult::OpenFailed);
  }
  if (reader >= 0) {
    char buffer[16];
    EXPECT_LE(::read(reader, buffer, sizeof buffer), 0);  // nothing was written into the FIFO
    ::close(reader);
  }
  if (socketDescriptor >= 0) {
    ::close(socketDescriptor);
  }
}

INSTANTIATE_TEST_SUITE_P(NotAFile, RecordFileSpecial,
                         ::testing::Values(SpecialFile::FifoWithoutReader, SpecialFile::FifoWithReader,
                                           SpecialFile::Socket));

// A link is followed only when the user (or root) owns it; another user's link, also further
// along a chain, is refused with the reason and its target left alone.
enum class LinkOwner { Self, Other, SelfThenOther };

class RecordFileLink : public RecordFileTest, public ::testing::WithParamInterface<LinkOwner> {};

TEST_P(RecordFileLink, IsFollowedOnlyWhenTheUserOrRootOwnsIt) {
  const bool other = GetParam() != LinkOwner::Self;
  if (other && ::geteuid() != 0) GTEST_SKIP() << "a link of another user is made by the run as root";
  fs::permissions(folder_.Path(), fs::perms::all | fs::perms::sticky_bit);  // a folder as /tmp is
  const std::string target = PathOf("target.csv");
  Put(target, "kept\r\n");
  const std::string link = PathOf("pomiar.csv");
  const std::string middle = PathOf("middle");
  ASSERT_EQ(::symlink("middle", link.c_str()), 0);  // a chain: pomiar.csv -> middle -> target.csv
  ASSERT_EQ(::symlink("target.csv", middle.c_str()), 0);
  if (other) {
    ASSERT_EQ(::lchown((GetParam() == LinkOwner::Other ? link : middle).c_str(), 65534, 65534), 0);
  }

  EXPECT_EQ(AppendLineToFile(link, "1;\r\n"), other ? AppendResult::OpenFailed : AppendResult::Written);
  EXPECT_EQ(Contents(target), other ? "kept\r\n" : "kept\r\n1;\r\n");
  EXPECT_EQ(AppendOpenProblem(link),
            other ? "a symbolic link owned by another user (uid 65534) is not followed" : "");
}

INSTANTIATE_TEST_SUITE_P(Owners, RecordFileLink,
                         ::testing::Values(LinkOwner::Self, LinkOwner::Other, LinkOwner::SelfThenOther));

TEST_F(RecordFileTest, CharacterDeviceIsWrittenTo) {
  EXPECT_EQ(AppendLineToFile("/dev/null", "1,50;\r\n"), AppendResult::Written);
}

}  // namespace
}  // namespace kvelt
