// How a settings write treats the file it replaces: owner, mode, links and inode, a folder the
// user may not write, leftovers of killed writes, and things at the path that are not files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "settings/AtomicFileReplace.h"
#include "settings/FileTextEncoding.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/IniSession.h"
#include "settings/SettingsWriteError.h"
#include "tests/settings/FileTestHelpers.h"

namespace kvelt {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RunUnprivileged;
using test::TempFolder;
using test::WriteBytes;

constexpr uid_t kOtherUser = 65534;  // nobody
constexpr gid_t kOtherGroup = 65534;

struct stat StatusOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status;
}

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// How config.ini reaches the real file.
enum class Reach { Directly, SymbolicLink, RelativeLinkToMissingFile, HardLink };

struct IdentityCase {
  const char* Name;
  Reach How;
  mode_t Mode;
};

class FileIdentityTest : public ::testing::TestWithParam<IdentityCase> {
 protected:
  TempFolder folder_;
  std::string config_ = folder_.File("config.ini");
  std::string real_ = folder_.File("real.ini");
};

TEST_P(FileIdentityTest, WriteKeepsOwnerModeLinksAndTheFileTheyName) {
  const IdentityCase& c = GetParam();
  const bool creates = c.How == Reach::RelativeLinkToMissingFile;
  if (!creates) {
    WriteBytes(real_, "[Options]\nDiv=2\n");
    ASSERT_EQ(::chmod(real_.c_str(), c.Mode), 0);
    // As root, the file belongs to someone else first: a root write must hand it back to them.
    if (::geteuid() == 0) {
      ASSERT_EQ(::chown(real_.c_str(), kOtherUser, kOtherGroup), 0);
    }
  }
  switch (c.How) {
    case Reach::Directly:
      real_ = config_;
      fs::rename(folder_.File("real.ini"), config_);
      break;
    case Reach::SymbolicLink:
      fs::create_symlink(real_, config_);
      break;
    case Reach::RelativeLinkToMissingFile:
      fs::create_symlink("real.ini", config_);
      break;
    case Reach::HardLink:
      fs::create_hard_link(real_, config_);
      break;
  }
  struct stat before {};
  if (!creates) before = StatusOf(real_);

  IniFile(config_).WriteInteger("Options", "Div", 4);

  EXPECT_EQ(ReadBytes(real_), "[Options]\nDiv=4\n");
  EXPECT_EQ(ReadBytes(config_), ReadBytes(real_));
  EXPECT_EQ(fs::is_symlink(config_), c.How == Reach::SymbolicLink || creates);
  const struct stat after = StatusOf(real_);
  if (!creates) {
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, c.Mode);
  }
  if (c.How == Reach::HardLink) {
    EXPECT_EQ(after.st_ino, before.st_ino);  // rewritten in place: both names keep sharing it
    EXPECT_EQ(after.st_nlink, 2u);
  }
  EXPECT_EQ(EntriesIn(folder_.Path()), c.How == Reach::Directly ? 1u : 2u);  // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(Files, FileIdentityTest,
                         ::testing::Values(IdentityCase{"PlainFile", Reach::Directly, 0640},
                                           IdentityCase{"GroupWritable", Reach::Directly, 0664},
                                           IdentityCase{"ThroughSymbolicLink", Reach::SymbolicLink, 0600},
                                           IdentityCase{"DanglingLinkCreatesItsTarget",
                                                        Reach::RelativeLinkToMissingFile, 0},
                                           IdentityCase{"HardLinked", Reach::HardLink, 0644}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A folder the user may not write: no temporary file can go beside config.ini.
struct ReadOnlyFolderCase {
  const char* Name;
  bool FileThere;
  mode_t FileMode;
  bool Saved;
};

class ReadOnlyFolderTest : public ::testing::TestWithParam<ReadOnlyFolderCase> {
 protected:
  void TearDown() override { fs::permissions(folder_.Path(), fs::perms::owner_all); }
  TempFolder folder_;
  std::string path_ = folder_.File("config.ini");
};

TEST_P(ReadOnlyFolderTest, WritableFileIsRewrittenInPlace) {
  const ReadOnlyFolderCase& c = GetParam();
  const std::string old = "[Options]\r\nDiv=2\r\nUnit=1\r\nSaveFile=a much longer value than the new one\r\n";
  if (c.FileThere) {
    WriteBytes(path_, old);
    fs::permissions(path_, static_cast<fs::perms>(c.FileMode));
  }
  const ino_t inode = c.FileThere ? StatusOf(path_).st_ino : 0;
  fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  RunUnprivileged(folder_, [&] {
    IniSession session{IniFile(path_)};
    session.WriteInteger("Options", "Div", 0);
    session.WriteString("Options", "SaveFile", "b");
    if (c.Saved) {
      session.Save();
      EXPECT_EQ(ReadBytes(path_), "[Options]\r\nDiv=0\r\nUnit=1\r\nSaveFile=b\r\n");
      EXPECT_EQ(StatusOf(path_).st_ino, inode);
    } else {
      EXPECT_THROW(session.Save(), SettingsWriteError);
      EXPECT_EQ(fs::exists(path_), c.FileThere);
      if (c.FileThere) {
        EXPECT_EQ(ReadBytes(path_), old);
      }
    }
    EXPECT_EQ(EntriesIn(folder_.Path()), c.FileThere ? 1u : 0u);
  });
}

INSTANTIATE_TEST_SUITE_P(Folders, ReadOnlyFolderTest,
                         ::testing::Values(ReadOnlyFolderCase{"WritableFile", true, 0644, true},
                                           ReadOnlyFolderCase{"WriteProtectedFile", true, 0444, false},
                                           ReadOnlyFolderCase{"NoFile", false, 0, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FileLeftovers, TemporaryFilesOfKilledWritesAreRemovedAtTheNextWrite) {
  TempFolder folder;
  const std::string path = folder.File("config.ini");
  WriteBytes(path, "[Options]\n");
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const auto plant = [&](const char* name, bool isOld) {
    WriteBytes(folder.File(name), "half a file");
    if (isOld) fs::last_write_time(folder.File(name), old);
  };
  plant("config.ini.tmp0123456789ab", true);   // ours, from a killed write
  plant("config.ini.tmpfedcba987654", true);   // ours, too
  plant("config.ini.tmpaaaaaaaaaaaa", false);  // possibly another write still running
  plant("config.ini.tmp0123", true);           // not a name we make
  plant("config.ini.tmp0123456789AB", true);
  plant("other.ini.tmp0123456789ab", true);
  IniFile(path).WriteInteger("Options", "Div", 1);
  EXPECT_FALSE(fs::exists(folder.File("config.ini.tmp0123456789ab")));
  EXPECT_FALSE(fs::exists(folder.File("config.ini.tmpfedcba987654")));
  for (const char* kept : {"config.ini.tmpaaaaaaaaaaaa", "config.ini.tmp0123", "config.ini.tmp0123456789AB",
                           "other.ini.tmp0123456789ab"}) {
    EXPECT_TRUE(fs::exists(folder.File(kept))) << kept;
  }
  EXPECT_EQ(ReadBytes(path), "[Options]\nDiv=1\n");
}

// Things at the path that are not a settings file: read without waiting as unreadable, every
// key its default, and never written over.
enum class Thing { Fifo, LinkToDevZero, LinkToDevNull, Folder, FileOverOneMebibyte };

class NotASettingsFileTest : public ::testing::TestWithParam<Thing> {
 protected:
  TempFolder folder_;
  std::string path_ = folder_.File("config.ini");
};

TEST_P(NotASettingsFileTest, ReadsAsDefaultsWithoutWaitingAndIsNeverWrittenOver) {
  std::string large;
  switch (GetParam()) {
    case Thing::Fifo:
      ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
      break;
    case Thing::LinkToDevZero:
      fs::create_symlink("/dev/zero", path_);
      break;
    case Thing::LinkToDevNull:
      fs::create_symlink("/dev/null", path_);
      break;
    case Thing::Folder:
      fs::create_directory(path_);
      break;
    case Thing::FileOverOneMebibyte:
      large = "[Options]\nDiv=4\n" + std::string(IniFile::kMaxFileSize, ';');
      WriteBytes(path_, large);
      break;
  }
  const IniFile file(path_);
  EXPECT_TRUE(file.Exists());
  IniSession session(file);
  EXPECT_TRUE(session.FilePresent());
  EXPECT_TRUE(session.Unreadable());
  EXPECT_EQ(session.ReadInteger("Options", "Div", 2), 2);
  session.WriteInteger("Options", "Div", 1);
  EXPECT_THROW(session.Save(), SettingsWriteError);
  EXPECT_THROW(file.WriteInteger("Options", "Div", 1), SettingsWriteError);
  if (!large.empty()) {
    EXPECT_EQ(ReadBytes(path_), large);
  }
  EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(Things, NotASettingsFileTest,
                         ::testing::Values(Thing::Fifo, Thing::LinkToDevZero, Thing::LinkToDevNull,
                                           Thing::Folder, Thing::FileOverOneMebibyte));

TEST(LargeSettingsFile, OneMebibyteStillReads) {
  TempFolder folder;
  const std::string path = folder.File("config.ini");
  std::string text = "[Options]\nDiv=4\n";
  text += std::string(IniFile::kMaxFileSize - text.size(), ';');
  WriteBytes(path, text);
  const IniSession session{IniFile(path)};
  EXPECT_FALSE(session.Unreadable());
  EXPECT_EQ(session.ReadInteger("Options", "Div", 2), 4);
}

// config.ini as a symbolic link: followed in the user's own folder, refused (its target left
// alone, the reason given) in a folder others may write to, where another user may plant it.
struct LinkFolderCase {
  mode_t FolderMode;
  bool Followed;
};

class LinkFolderTest : public ::testing::TestWithParam<LinkFolderCase> {
 protected:
  TempFolder folder_;
  fs::path shared_ = folder_.Path() / "shared";
  std::string target_ = folder_.File("target.ini");
  std::string config_ = (shared_ / "config.ini").string();
};

TEST_P(LinkFolderTest, LinkIsFollowedOnlyInAFolderNoOneElseWrites) {
  const LinkFolderCase& c = GetParam();
  WriteBytes(target_, "[Options]\nDiv=2\n");
  fs::create_directory(shared_);
  fs::create_symlink(target_, config_);
  if (::geteuid() == 0) {
    ASSERT_EQ(::lchown(config_.c_str(), kOtherUser, kOtherGroup), 0);  // planted by someone else
  }
  ASSERT_EQ(::chmod(shared_.c_str(), c.FolderMode), 0);
  std::string error;
  try {
    IniFile(config_).WriteInteger("Options", "Div", 4);
  } catch (const SettingsWriteError& refused) {
    error = refused.what();
  }
  EXPECT_EQ(error, c.Followed ? ""
                              : "Unable to write to " + config_ + ": a symbolic link in " + shared_.string() +
                                    ", which other users may write to, is not followed");
  EXPECT_EQ(ReadBytes(target_), c.Followed ? "[Options]\nDiv=4\n" : "[Options]\nDiv=2\n");
  EXPECT_TRUE(fs::is_symlink(config_));
}

INSTANTIATE_TEST_SUITE_P(Folders, LinkFolderTest,
                         ::testing::Values(LinkFolderCase{0755, true}, LinkFolderCase{01777, false},
                                           LinkFolderCase{0775, false}, LinkFolderCase{0757, false}));

// A hard-linked config.ini is rewritten in place; a kill between the write and the cut that
// shortens it (an injected cut that stops there) leaves the new settings followed by blank lines,
// in the file's own encoding, never the old text's tail after the new.
struct TornCase {
  const char* Name;
  std::string Old;
};

class InPlaceKillTest : public ::testing::TestWithParam<TornCase> {
 protected:
  TempFolder folder_;
  std::string path_ = folder_.File("config.ini");
};

std::string Utf16BigEndian(std::string_view ascii) {
  std::string bytes = "\xFE\xFF";
  for (const char c : ascii) bytes += std::string{'\0', c};
  return bytes;
}

TEST_P(InPlaceKillTest, LeavesTheNewSettingsAndBlankLines) {
  WriteBytes(path_, GetParam().Old);
  fs::create_hard_link(path_, folder_.File("second-name.ini"));
  const DecodedFileText decoded = DecodeFileText(GetParam().Old);
  IniDocument document(decoded.Text);
  document.Set("Options", "SavePeriod", "0");
  document.Set("Options", "SaveFile", "b");
  ReplaceOptions options;
  options.Padded = [&](std::size_t size) { return PaddedFileText(decoded, document.Text(), size); };
  options.Cut = [](int, off_t) { return false; };  // killed before the cut
  std::string why;
  EXPECT_FALSE(ReplaceFileContent(path_, EncodeFileText(decoded, document.Text()), options, why));

  const std::string text = DecodeFileText(ReadBytes(path_)).Text;
  ASSERT_EQ(text.substr(0, document.Text().size()), document.Text());
  EXPECT_EQ(text.find_first_not_of('\n', document.Text().size()), std::string::npos) << text;
  EXPECT_EQ(IniFile(path_).ReadInteger("Options", "SavePeriod", -1), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, InPlaceKillTest,
    ::testing::Values(TornCase{"Utf8", "[Options]\nSavePeriod=10\nSaveFile=a long name\nDiv=2\n"},
                      TornCase{"Windows1250Crlf",
                               "[Options]\r\nSavePeriod=10\r\nSaveFile=\xB3\xF3\x64\xBF\r\nDiv=2\r\n"},
                      TornCase{"Utf16BigEndianOddByte",
                               Utf16BigEndian("[Options]\nSavePeriod=10\nSaveFile=aaaa\nDiv=2\n") + "\x01"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kvelt
