#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/IniFile.h"
#include "settings/SettingsWriteError.h"
#include "tests/settings/FileTestHelpers.h"

namespace kvelt {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RunUnprivileged;
using test::TempFolder;
using test::WriteBytes;

class IniFileTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  std::string path_ = folder_.File("config.ini");
  IniFile file_{path_};
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsNotCreated) {
  EXPECT_FALSE(file_.Exists());
  EXPECT_TRUE(file_.ReadBool("Options", "SaveDate", true));
  EXPECT_FALSE(file_.ReadBool("Options", "AutoSave", false));
  EXPECT_EQ(file_.ReadInteger("Options", "Language", 2), 2);
  EXPECT_EQ(file_.ReadString("Options", "SaveFile", "pomiar.csv"), "pomiar.csv");
  EXPECT_FALSE(fs::exists(path_));
}

TEST_F(IniFileTest, MissingSectionOrKeyGivesDefaults) {
  WriteBytes(path_, "[Other]\nDiv=4\n[Options]\nUnit=3\n");
  EXPECT_TRUE(file_.Exists());
  EXPECT_EQ(file_.ReadInteger("Options", "Div", 2), 2);
  EXPECT_EQ(file_.ReadInteger("Missing", "Unit", 0), 0);
  EXPECT_EQ(file_.ReadInteger("Options", "Unit", 0), 3);
}

struct ReadCase {
  std::string Stored;
  int DefaultValue;
  int ExpectedInteger;
  bool ExpectedBoolWithDefaultFalse;
  bool ExpectedBoolWithDefaultTrue;
};

class IniFileReadTest : public IniFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniFileReadTest, ReadsIntegersAndBooleansFromTheFile) {
  WriteBytes(path_, "[Options]\r\nKey=" + GetParam().Stored + "\r\n");
  EXPECT_EQ(file_.ReadInteger("Options", "Key", GetParam().DefaultValue), GetParam().ExpectedInteger);
  EXPECT_EQ(file_.ReadBool("Options", "Key", false), GetParam().ExpectedBoolWithDefaultFalse);
  EXPECT_EQ(file_.ReadBool("Options", "Key", true), GetParam().ExpectedBoolWithDefaultTrue);
}

INSTANTIATE_TEST_SUITE_P(Values, IniFileReadTest,
                         ::testing::Values(ReadCase{"1", 7, 1, true, true}, ReadCase{"0", 7, 0, false, false},
                                           ReadCase{"2", 7, 2, true, true}, ReadCase{"-1", 7, -1, true, true},
                                           ReadCase{"yes", 7, 7, false, true},
                                           ReadCase{"", 7, 7, false, true}, ReadCase{"0x3", 7, 3, true, true},
                                           ReadCase{"0x0", 7, 0, false, false},
                                           ReadCase{"0x", 7, 7, false, true},
                                           ReadCase{" 4 ", 7, 4, true, true},
                                           ReadCase{"99999999999", 7, 7, false, true}));

TEST_F(IniFileTest, WrittenValuesReadBack) {
  file_.WriteBool("Options", "AutoSave", true);
  file_.WriteBool("Options", "SaveDate", false);
  file_.WriteInteger("Options", "ScreenTop", -1920);
  file_.WriteString("Options", "SaveFile", "/home/u\xC5\x82/pomiar.csv");
  EXPECT_EQ(ReadBytes(path_),
            "[Options]\nAutoSave=1\nSaveDate=0\nScreenTop=-1920\nSaveFile=/home/u\xC5\x82/pomiar.csv\n");
  EXPECT_TRUE(file_.ReadBool("Options", "AutoSave", false));
  EXPECT_FALSE(file_.ReadBool("Options", "SaveDate", true));
  EXPECT_EQ(file_.ReadInteger("Options", "ScreenTop", 0), -1920);
  EXPECT_EQ(file_.ReadString("Options", "SaveFile", ""), "/home/u\xC5\x82/pomiar.csv");
}

TEST_F(IniFileTest, EachWriteIsInTheFileWhenItReturnsAndLeavesNoOtherFile) {
  WriteBytes(path_, "[Options]\nDiv=2\nUnit=0\n");
  file_.WriteInteger("Options", "Div", 4);
  EXPECT_EQ(ReadBytes(path_), "[Options]\nDiv=4\nUnit=0\n");
  file_.WriteInteger("Options", "Unit", 3);
  EXPECT_EQ(ReadBytes(path_), "[Options]\nDiv=4\nUnit=3\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileTest, LongTextIsReadBackCutTo2047Characters) {
  file_.WriteString("Options", "SaveFile", std::string(3000, 'a'));
  EXPECT_EQ(file_.ReadString("Options", "SaveFile", ""), std::string(2047, 'a'));
  std::string polish;
  for (int i = 0; i < 2100; ++i) polish += "\xC5\x82";  // ł, two bytes each
  file_.WriteString("Options", "SaveFile", polish);
  EXPECT_EQ(file_.ReadString("Options", "SaveFile", ""), polish.substr(0, 2 * 2047));
  file_.WriteString("Options", "SaveFile", std::string(2047, 'b'));
  EXPECT_EQ(file_.ReadString("Options", "SaveFile", ""), std::string(2047, 'b'));
}

TEST_F(IniFileTest, LineBreakInTextDoesNotAddKeys) {
  WriteBytes(path_, "[Options]\nDiv=2\n");
  file_.WriteString("Options", "SaveFile", "a.csv\r\nDiv=4\nAutoSave=1");
  EXPECT_EQ(file_.ReadInteger("Options", "Div", 0), 2);
  EXPECT_FALSE(file_.ReadBool("Options", "AutoSave", false));
  EXPECT_EQ(file_.ReadString("Options", "SaveFile", ""), "a.csv  Div=4 AutoSave=1");
}

TEST_F(IniFileTest, WindowsFileInCodePage1250WithCrLfReadsAndKeepsItsBytes) {
  // "c:\pomiar łódź.csv" in Windows-1250, as a Windows build would have stored it.
  const std::string windowsFile =
      "[Options]\r\nAutoSave=1\r\nSaveFile=c:\\pomiar \xB3\xF3\x64\x9F.csv\r\nDiv=3\r\nUnit=1\r\n";
  WriteBytes(path_, windowsFile);
  EXPECT_TRUE(file_.ReadBool("Options", "AutoSave", false));
  EXPECT_EQ(file_.ReadInteger("Options", "Div", 2), 3);
  EXPECT_EQ(file_.ReadString("Options", "SaveFile", ""), "c:\\pomiar łódź.csv");
  file_.WriteInteger("Options", "SavePeriod", 4);
  file_.WriteInteger("Options", "Div", 1);
  EXPECT_EQ(ReadBytes(path_),
            "[Options]\r\nAutoSave=1\r\nSaveFile=c:\\pomiar "
            "\xB3\xF3\x64\x9F.csv\r\nDiv=1\r\nUnit=1\r\nSavePeriod=4\r\n");
}

TEST_F(IniFileTest, SymbolicLinkIsFollowed) {
  const std::string real = folder_.File("real.ini");
  WriteBytes(real, "[Options]\nDiv=2\n");
  fs::create_symlink(real, path_);
  file_.WriteInteger("Options", "Div", 0);
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadBytes(real), "[Options]\nDiv=0\n");
}

TEST_F(IniFileTest, PermissionsOfTheFileAreKept) {
  WriteBytes(path_, "[Options]\n");
  const fs::perms chosen = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path_, chosen);
  file_.WriteInteger("Options", "Div", 1);
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all, chosen);
}

// Every way of failing must throw the one error text and leave the old file as it was.
class IniFileWriteFailureTest : public IniFileTest {
 protected:
  void ExpectWriteFails(const std::string& path) {
    const IniFile file(path);
    try {
      file.WriteInteger("Options", "Div", 3);
      FAIL() << "writing " << path << " did not fail";
    } catch (const SettingsWriteError& error) {
      EXPECT_STREQ(error.what(), ("Unable to write to " + path).c_str());
      EXPECT_EQ(error.Path(), path);
    }
  }
};

TEST_F(IniFileWriteFailureTest, FolderMissing) { ExpectWriteFails(folder_.File("absent/config.ini")); }

TEST_F(IniFileWriteFailureTest, FolderIsAFile) {
  WriteBytes(folder_.File("plain"), "x");
  ExpectWriteFails(folder_.File("plain/config.ini"));
}

TEST_F(IniFileWriteFailureTest, PathIsAFolder) {
  fs::create_directory(path_);
  ExpectWriteFails(path_);
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(IniFileWriteFailureTest, WriteProtectedFileIsNotReplaced) {
  WriteBytes(path_, "[Options]\nDiv=2\n");
  fs::permissions(path_, fs::perms::owner_read);
  RunUnprivileged(folder_, [&] {
    ExpectWriteFails(path_);
    EXPECT_EQ(ReadBytes(path_), "[Options]\nDiv=2\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 1);
  });
}

TEST_F(IniFileWriteFailureTest, UnreadableFileIsNotReplaced) {
  WriteBytes(path_, "[Options]\nDiv=2\nUnit=1\n");
  fs::permissions(path_, fs::perms::owner_write);
  RunUnprivileged(folder_, [&] { ExpectWriteFails(path_); });
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadBytes(path_), "[Options]\nDiv=2\nUnit=1\n");
}

}  // namespace
}  // namespace kvelt
