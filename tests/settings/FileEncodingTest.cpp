// config.ini files in the encodings real users have: each is read with its letters intact
// and written back in the encoding it was read in.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/IniSession.h"
#include "tests/settings/FileTestHelpers.h"

namespace kvelt {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// UTF-16 bytes of a text given as UTF-16 code units, written out here independently of the
// program's own converter.
std::string Utf16Bytes(std::u16string_view units, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : units) {
    const auto low = static_cast<char>(unit & 0xFF);
    const auto high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

struct EncodingCase {
  const char* Name;
  std::string Before;       // the file as found
  FileEncoding Encoding;    // what it is read as
  std::string SaveFile;     // SaveFile read back (UTF-8)
  std::string NewSaveFile;  // SaveFile then written, with Div=1
  std::string After;        // the file afterwards
};

class FileEncodingTest : public ::testing::TestWithParam<EncodingCase> {
 protected:
  TempFolder folder_;
  std::string path_ = folder_.File("config.ini");
};

TEST_P(FileEncodingTest, ReadsItsLettersAndWritesBackInTheSameEncoding) {
  const EncodingCase& c = GetParam();
  WriteBytes(path_, c.Before);
  const IniFile file(path_);
  {
    const IniSession session(file);
    EXPECT_EQ(session.Encoding(), c.Encoding);
    EXPECT_EQ(session.ReadString("Options", "SaveFile", "none"), c.SaveFile);
    EXPECT_EQ(session.ReadInteger("Options", "Div", -1), 2);
  }
  IniSession session(file);
  session.WriteString("Options", "SaveFile", c.NewSaveFile);
  session.WriteInteger("Options", "Div", 1);
  session.Save();
  EXPECT_EQ(ReadBytes(path_), c.After);
  EXPECT_EQ(file.ReadString("Options", "SaveFile", "none"), c.NewSaveFile);
  EXPECT_EQ(file.ReadInteger("Options", "Div", -1), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileEncodingTest,
    ::testing::Values(
        EncodingCase{"Utf8", "[Options]\nSaveFile=C:\\Pomiary\\Łódź.csv\nDiv=2\n", FileEncoding::Utf8,
                     "C:\\Pomiary\\Łódź.csv", "D:\\Łąka.csv", "[Options]\nSaveFile=D:\\Łąka.csv\nDiv=1\n"},
        EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF[Options]\r\nSaveFile=Łódź.csv\r\nDiv=2\r\n",
                     FileEncoding::Utf8, "Łódź.csv", "日本.csv",
                     "\xEF\xBB\xBF[Options]\r\nSaveFile=日本.csv\r\nDiv=1\r\n"},
        // A Polish Windows program's file: Ł=A3, ó=F3, ź=9F, ą=B9.
        EncodingCase{"Windows1250",
                     "[Options]\r\nSaveFile=C:\\Pomiary\\\xA3\xF3"
                     "d\x9F.csv\r\nDiv=2\r\n",
                     FileEncoding::Windows1250, "C:\\Pomiary\\Łódź.csv", "D:\\Łąka.csv",
                     "[Options]\r\nSaveFile=D:\\\xA3\xB9ka.csv\r\nDiv=1\r\n"},
        // A byte the code page leaves undefined (0x81) survives as it was.
        EncodingCase{"Windows1250UndefinedByteKept", "[Options]\nNote=\x81\xA3\nSaveFile=a\nDiv=2\n",
                     FileEncoding::Windows1250, "a", "ż.csv",
                     "[Options]\nNote=\x81\xA3\nSaveFile=\xBF.csv\nDiv=1\n"},
        // Windows-1250 cannot hold 日: the whole file becomes UTF-8, never a mix.
        EncodingCase{"Windows1250ThatMustBecomeUtf8", "[Options]\nNote=\xA3\nSaveFile=a\nDiv=2\n",
                     FileEncoding::Windows1250, "a", "日.csv", "[Options]\nNote=Ł\nSaveFile=日.csv\nDiv=1\n"},
        // UTF-8 letters in one line and a Windows-1250 byte in another: not valid UTF-8, so the
        // whole file is Windows-1250 and every other byte stays as it was.
        EncodingCase{"Mixed",
                     "[Options]\nOld=\xC5\x81\nSaveFile=\xA3\xF3"
                     "d\x9F\nDiv=2\n",
                     FileEncoding::Windows1250, "Łódź", "Łąka",
                     "[Options]\nOld=\xC5\x81\nSaveFile=\xA3\xB9ka\nDiv=1\n"},
        // Once the one line that was not UTF-8 is gone, the Windows-1250 bytes C5 81 ("Ĺ" and an
        // undefined byte) would read back as UTF-8 "Ł": the file becomes UTF-8 with its letters.
        EncodingCase{"MixedThatWouldReadBackAsUtf8", "[Options]\nOld=\xC5\x81\nSaveFile=\xA3\nDiv=2\n",
                     FileEncoding::Windows1250, "Ł", "a", "[Options]\nOld=Ĺ\u0081\nSaveFile=a\nDiv=1\n"},
        EncodingCase{"Utf16LittleEndianWithMark",
                     Utf16Bytes(u"\uFEFF[Options]\r\nSaveFile=C:\\Łódź.csv\r\nDiv=2\r\n", false),
                     FileEncoding::Utf16LittleEndian, "C:\\Łódź.csv", "D:\\Łąka.csv",
                     Utf16Bytes(u"\uFEFF[Options]\r\nSaveFile=D:\\Łąka.csv\r\nDiv=1\r\n", false)},
        EncodingCase{"Utf16LittleEndianNewKeyAndPair",
                     Utf16Bytes(u"\uFEFF[Options]\r\nNote=\U0001F600\r\nDiv=2", false),
                     FileEncoding::Utf16LittleEndian, "none", "Ł",
                     Utf16Bytes(u"\uFEFF[Options]\r\nNote=\U0001F600\r\nDiv=1\r\nSaveFile=Ł\r\n", false)},
        EncodingCase{"Utf16BigEndianWithMark", Utf16Bytes(u"\uFEFF[Options]\nSaveFile=Łódź\nDiv=2\n", true),
                     FileEncoding::Utf16BigEndian, "Łódź", "ą",
                     Utf16Bytes(u"\uFEFF[Options]\nSaveFile=ą\nDiv=1\n", true)}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.Name); });

TEST(FileEncoding, NewFileIsUtf8) {
  TempFolder folder;
  const IniFile file(folder.File("config.ini"));
  file.WriteString("Options", "SaveFile", "Łódź.csv");
  EXPECT_EQ(ReadBytes(file.Path()), "[Options]\nSaveFile=Łódź.csv\n");
}

}  // namespace
}  // namespace kvelt
