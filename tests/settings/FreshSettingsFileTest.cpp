#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "settings/FreshSettingsFile.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsWriteError.h"
#include "tests/settings/FileTestHelpers.h"

namespace kvelt {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

constexpr const char* kFreshFile =
    "[Options]\n"
    "AutoSave=0\n"
    "SaveDate=1\n"
    "SaveTime=1\n"
    "SavePos1=1\n"
    "SavePos2=1\n"
    "SavePos3=1\n"
    "SavePos4=1\n"
    "SaveVer1=1\n"
    "SaveVer2=1\n"
    "SaveVer3=1\n"
    "SaveVer4=1\n"
    "ScreenTop=0\n"
    "ScreenLeft=0\n"
    "Language=0\n"
    "SaveFile=/home/kvelt/pomiar.csv\n"
    "Div=2\n"
    "Unit=0\n";

TEST(FreshSettingsFile, HoldsTheSectionAndSeventeenKeysInOrder) {
  TempFolder folder;
  const IniFile file(folder.File("config.ini"));
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  ::setenv("HOME", "/home/kvelt", 1);
  WriteFreshSettingsFile(file);
  ::setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(ReadBytes(file.Path()), kFreshFile);
}

TEST(FreshSettingsFile, ReadsBackThroughTheKeyNames) {
  TempFolder folder;
  const IniFile file(folder.File("config.ini"));
  WriteFreshSettingsFile(file);
  namespace Keys = SettingsKeys;
  EXPECT_FALSE(file.ReadBool(Keys::Section, Keys::AutoSave, true));
  for (int n = 1; n <= 4; ++n) {
    EXPECT_TRUE(file.ReadBool(Keys::Section, Keys::SavePos(n), false));
    EXPECT_TRUE(file.ReadBool(Keys::Section, Keys::SaveVer(n), false));
  }
  EXPECT_EQ(file.ReadInteger(Keys::Section, Keys::Language, SettingsDefaults::Language), 0);
  EXPECT_EQ(file.ReadString(Keys::Section, Keys::SaveFile, ""), SettingsDefaults::SaveFile());
  // Not part of a fresh file: read as its default.
  EXPECT_EQ(file.ReadInteger(Keys::Section, Keys::SavePeriod, SettingsDefaults::SavePeriod), 1);
}

TEST(FreshSettingsFile, OverExistingFileActsLikeKeyByKeyWrites) {
  TempFolder folder;
  const IniFile file(folder.File("config.ini"));
  WriteBytes(file.Path(), "[Options]\r\nSavePeriod=5\r\nDiv=4\r\n");
  WriteFreshSettingsFile(file);
  const std::string text = ReadBytes(file.Path());
  EXPECT_EQ(text.rfind("[Options]\r\nSavePeriod=5\r\nDiv=2\r\nAutoSave=0\r\nSaveDate=1\r\n", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 8), "Unit=0\r\n");
}

TEST(FreshSettingsFile, FailureThrowsTheWriteError) {
  TempFolder folder;
  const std::string path = folder.File("none/config.ini");
  try {
    WriteFreshSettingsFile(IniFile(path));
    FAIL() << "no error";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
  }
}

TEST(SettingsKeys, ChannelKeysAreNumberedOneToFour) {
  EXPECT_EQ(SettingsKeys::SavePos(1), "SavePos1");
  EXPECT_EQ(SettingsKeys::SaveVer(4), "SaveVer4");
  EXPECT_THROW(SettingsKeys::SavePos(0), std::out_of_range);
  EXPECT_THROW(SettingsKeys::SaveVer(5), std::out_of_range);
}

}  // namespace
}  // namespace kvelt
