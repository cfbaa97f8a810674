#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "settings/IniDocument.h"

namespace kvelt {
namespace {

struct FindCase {
  std::string Name;
  std::string Text;
  std::string Key;
  std::optional<std::string> Expected;
};

class IniDocumentFindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(IniDocumentFindTest, FindsTheValueOfTheKey) {
  const IniDocument document(GetParam().Text);
  const auto found = document.Find("Options", GetParam().Key);
  const std::optional<std::string> value = found ? std::optional<std::string>(*found) : std::nullopt;
  EXPECT_EQ(value, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, IniDocumentFindTest,
    ::testing::Values(
        FindCase{"Plain", "[Options]\nDiv=3\n", "Div", "3"},
        FindCase{"KeyCaseIgnored", "[Options]\ndiv=3\n", "DIV", "3"},
        FindCase{"SectionCaseIgnored", "[OPTIONS]\nDiv=3\n", "Div", "3"},
        FindCase{"BlanksAroundIgnored", "  [ Options ]  \n\t Div \t=  3 \t\n", "Div", "3"},
        FindCase{"ValueAfterFirstEquals", "[Options]\nSaveFile=a=b.csv\n", "SaveFile", "a=b.csv"},
        FindCase{"EmptyValue", "[Options]\nSaveFile=\n", "SaveFile", ""},
        FindCase{"CrLf", "[Options]\r\nDiv=3\r\nUnit=1\r\n", "Unit", "1"},
        FindCase{"LoneCr", "[Options]\rDiv=3\rUnit=1", "Unit", "1"},
        FindCase{"NoFinalLineEnd", "[Options]\nDiv=3", "Div", "3"},
        FindCase{"ByteOrderMark", "\xEF\xBB\xBF[Options]\nDiv=3\n", "Div", "3"},
        FindCase{"TextAfterBracket", "[Options] ; main\nDiv=3\n", "Div", "3"},
        FindCase{"FirstDuplicateKeyWins", "[Options]\nDiv=3\nDiv=4\n", "Div", "3"},
        FindCase{"FirstDuplicateSectionWins", "[Options]\nDiv=3\n[Options]\nUnit=1\n", "Unit", std::nullopt},
        FindCase{"OtherSection", "[Other]\nDiv=3\n[Options]\nUnit=1\n", "Div", std::nullopt},
        FindCase{"BeforeAnySection", "Div=3\n[Options]\n", "Div", std::nullopt},
        FindCase{"Comment", "[Options]\n;Div=3\n", "Div", std::nullopt},
        FindCase{"LineWithoutEquals", "[Options]\nDiv\n", "Div", std::nullopt},
        FindCase{"KeyIsNotAPrefix", "[Options]\nDivider=3\n", "Div", std::nullopt},
        FindCase{"EmptyText", "", "Div", std::nullopt},
        FindCase{"Windows1250Bytes", "[Options]\r\nSaveFile=c:\\\xB3\xF3\x64\x9F.csv\r\n", "SaveFile",
                 "c:\\\xB3\xF3\x64\x9F.csv"}),
    [](const auto& info) { return info.param.Name; });

struct SetCase {
  std::string Name;
  std::string Before;
  std::vector<std::pair<std::string, std::string>> Writes;  // key, value in section Options
  std::string After;
};

class IniDocumentSetTest : public ::testing::TestWithParam<SetCase> {};

TEST_P(IniDocumentSetTest, ChangesOnlyWhatItMust) {
  IniDocument document(GetParam().Before);
  for (const auto& [key, value] : GetParam().Writes) document.Set("Options", key, value);
  EXPECT_EQ(document.Text(), GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, IniDocumentSetTest,
    ::testing::Values(
        SetCase{"NewKeyAfterExistingOnes",
                "[Options]\nA=1\nB=2\n",
                {{"SavePeriod", "3"}},
                "[Options]\nA=1\nB=2\nSavePeriod=3\n"},
        SetCase{"RewriteKeepsPlace",
                "[Options]\nA=1\nDiv=2\nB=2\n",
                {{"Div", "4"}},
                "[Options]\nA=1\nDiv=4\nB=2\n"},
        SetCase{"RewriteMatchesCaseAndBlanks",
                "[options]\n  div = 2 \nB=2\n",
                {{"Div", "4"}},
                "[options]\nDiv=4\nB=2\n"},
        SetCase{
            "DivThenUnit", "[Options]\nDiv=2\n", {{"Div", "3"}, {"Unit", "1"}}, "[Options]\nDiv=3\nUnit=1\n"},
        SetCase{"NewKeyBeforeNextSectionAndItsBlankLine",
                "[Options]\nA=1\n\n[Other]\nX=1\n",
                {{"B", "2"}},
                "[Options]\nA=1\nB=2\n\n[Other]\nX=1\n"},
        SetCase{
            "NewKeyAfterComment", "[Options]\nA=1\n; note\n", {{"B", "2"}}, "[Options]\nA=1\n; note\nB=2\n"},
        SetCase{"KeyOfOtherSectionUntouched",
                "[Other]\nDiv=9\n[Options]\n",
                {{"Div", "4"}},
                "[Other]\nDiv=9\n[Options]\nDiv=4\n"},
        SetCase{"EmptySection", "[Options]\n", {{"A", "1"}}, "[Options]\nA=1\n"},
        SetCase{"CrLfKept", "[Options]\r\nA=1\r\n", {{"A", "2"}, {"B", "3"}}, "[Options]\r\nA=2\r\nB=3\r\n"},
        SetCase{"LoneCrKept", "[Options]\rA=1\r", {{"B", "3"}}, "[Options]\rA=1\rB=3\r"},
        SetCase{"NoFinalLineEnd", "[Options]\r\nA=1", {{"B", "2"}}, "[Options]\r\nA=1\r\nB=2\r\n"},
        SetCase{"NoFinalLineEndRewrite", "[Options]\nA=1", {{"A", "2"}}, "[Options]\nA=2"},
        SetCase{"MissingSectionAppended", "[Other]\nX=1\n", {{"A", "1"}}, "[Other]\nX=1\n[Options]\nA=1\n"},
        SetCase{"MissingSectionAfterUnterminatedLine",
                "[Other]\r\nX=1",
                {{"A", "1"}},
                "[Other]\r\nX=1\r\n[Options]\r\nA=1\r\n"},
        SetCase{"EmptyText", "", {{"A", "1"}}, "[Options]\nA=1\n"},
        SetCase{"ByteOrderMarkKept",
                "\xEF\xBB\xBF[Options]\nA=1\n",
                {{"A", "2"}},
                "\xEF\xBB\xBF[Options]\nA=2\n"},
        SetCase{
            "UntouchedBytesKept",
            "; hand made\r\n[Options]\r\nSaveFile = c:\\\xB3\xF3\x64\x9F.csv  \r\n\tDiv=2\r\nodd line\r\n",
            {{"Unit", "1"}},
            "; hand made\r\n[Options]\r\nSaveFile = c:\\\xB3\xF3\x64\x9F.csv  \r\n\tDiv=2\r\nodd "
            "line\r\nUnit=1\r\n"},
        SetCase{"LineBreaksBecomeBlanks",
                "[Options]\nDiv=2\n",
                {{"SaveFile", "a.csv\r\nDiv=4\n[Evil]\rb"}},
                "[Options]\nDiv=2\nSaveFile=a.csv  Div=4 [Evil] b\n"}),
    [](const auto& info) { return info.param.Name; });

TEST(IniDocument, LineBreakInValueCreatesNoKeyOrSection) {
  IniDocument document("[Options]\nDiv=2\n");
  document.Set("Options", "SaveFile", "x.csv\nDiv=4\n[Options]\nUnit=3");
  const IniDocument reread(document.Text());
  EXPECT_EQ(reread.Find("Options", "Div"), "2");
  EXPECT_EQ(reread.Find("Options", "Unit"), std::nullopt);
  EXPECT_EQ(reread.Find("Options", "SaveFile"), "x.csv Div=4 [Options] Unit=3");
}

TEST(IniDocument, RefusesNamesTheLayoutCannotHold) {
  IniDocument document;
  for (const char* key : {"", "a=b", " Div", "Div ", "[Div", ";Div", "Di\nv", "Di\rv"}) {
    EXPECT_THROW(document.Set("Options", key, "1"), std::invalid_argument) << "key \"" << key << "\"";
  }
  for (const char* section : {"", "Opt]ions", " Options", "Opt\nions"}) {
    EXPECT_THROW(document.Set(section, "Div", "1"), std::invalid_argument) << "section \"" << section << "\"";
  }
  EXPECT_EQ(document.Text(), "");
}

}  // namespace
}  // namespace kvelt
