#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>

#include "config/EncoderInfo.h"

namespace kvelt {
namespace {

// The message texts the box uses, as the active language gives them; a missing key is empty.
std::function<std::string(std::string_view)> Texts(bool english) {
  static const std::map<std::string_view, std::pair<std::string_view, std::string_view>> table{
      {"IDS_155", {"Enkoder ", "Enkoder "}},
      {"IDS_147", {"Czas bramkowania: ", "Gate time:"}},
      {"IDS_148", {" [s]", " [s]"}},
      {"IDS_149", {"Rozdzielczość: ", "Resolution:"}},
      {"IDS_150", {" [imp/obr]", " [pulse/rev]"}},
      {"IDS_152", {" [imp/mm]", " [pulse/mm]"}},
      {"IDS_153", {"Mnożnik: ", "Coeff:"}},
      {"IDS_22", {"\n", "\n"}},
  };
  return [english](std::string_view key) {
    const auto row = table.find(key);
    if (row == table.end()) {
      return std::string{};
    }
    return std::string(english ? row->second.second : row->second.first);
  };
}

ChannelReading Reading(std::uint16_t gateTimeMs, std::uint16_t resolutionX4, float coefficient) {
  ChannelReading reading;
  reading.GateTimeMs = gateTimeMs;
  reading.ResolutionX4 = resolutionX4;
  reading.Coefficient = coefficient;
  return reading;
}

struct InfoCase {
  const char* Name;
  ChannelReading Reading;
  int Unit;
  int Div;
  bool English;
  std::string_view Expected;
};

class EncoderInfoTest : public testing::TestWithParam<InfoCase> {};

TEST_P(EncoderInfoTest, ListsGateTimeResolutionAndCoefficient) {
  const InfoCase& c = GetParam();
  const InfoBox box = ComposeEncoderInfo(c.Reading, 1, c.Unit, c.Div, ",", Texts(c.English));
  EXPECT_EQ(box.Text, c.Expected);
  EXPECT_EQ(box.Title, "Enkoder 1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncoderInfoTest,
    testing::Values(InfoCase{"Polish", Reading(100, 4000, 1.5f), 0, 2, false,
                             "Czas bramkowania: 0,1 [s]\nRozdzielczość: 1000 [imp/obr]\nMnożnik: 1,50\n"},
                    InfoCase{"English", Reading(100, 4000, 1.5f), 1, 2, true,
                             "Gate time:0,1 [s]\nResolution:1000 [pulse/rev]\nCoeff:1,50\n"},
                    InfoCase{"LinearUnit", Reading(1000, 1001, 2.0f), 3, 0, false,
                             "Czas bramkowania: 1,0 [s]\nRozdzielczość: 250 [imp/mm]\nMnożnik: 2\n"},
                    InfoCase{"ShortGateTimes", Reading(20, 4, 1.5f), 2, 0, true,
                             "Gate time:0,0 [s]\nResolution:1 [pulse/mm]\nCoeff:2\n"},
                    InfoCase{"HalfwayGateTime", Reading(50, 0, 0.0f), 0, 4, true,
                             "Gate time:0,1 [s]\nResolution:0 [pulse/rev]\nCoeff:0,0000\n"},
                    InfoCase{"BeforeAnyFrame", ChannelReading{}, 0, 2, false,
                             "Czas bramkowania: 0,0 [s]\nRozdzielczość: 0 [imp/obr]\nMnożnik: 0,00\n"},
                    InfoCase{"NoUnitNoDiv", Reading(65535, 65535, -0.125f), -1, -1, false,
                             "Czas bramkowania: 65,5 [s]\n\nMnożnik: -0,13\n"}),
    [](const testing::TestParamInfo<InfoCase>& info) { return info.param.Name; });

TEST(EncoderInfoArrayTest, ReadsTheButtonsOwnChannel) {
  ChannelReadingArray readings{};
  for (int c = 0; c < 4; ++c) {
    readings[c] = Reading(static_cast<std::uint16_t>(1000 * (c + 1)), 0, 0.0f);
  }
  const auto box = ComposeEncoderInfo(readings, 3, 0, 0, ",", Texts(false));
  ASSERT_TRUE(box);
  EXPECT_EQ(box->Title, "Enkoder 3");
  EXPECT_TRUE(box->Text.starts_with("Czas bramkowania: 3,0 [s]\n")) << box->Text;
  EXPECT_FALSE(ComposeEncoderInfo(readings, 0, 0, 0, ",", Texts(false)));
  EXPECT_FALSE(ComposeEncoderInfo(readings, 5, 0, 0, ",", Texts(false)));
}

}  // namespace
}  // namespace kvelt
