// Feeds arbitrary counter replies to the texts the window shows from them: the outputs rows
// filled from replies 108 and 113, the encoder information box, the read-outs' fixed-point
// text of the device's floats and the recording line. Every number shown must read back, with
// the same separator, as the value it shows (within its decimals), a zero never carries a
// sign, the texts are valid UTF-8, and a recording line has one field per ticked column.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/EncoderInfo.h"
#include "config/LocaleNumber.h"
#include "config/OutputsFill.h"
#include "measure/ChannelReading.h"
#include "measure/FixedPointFormat.h"
#include "measure/RecordLine.h"
#include "measure/StoreChannelFrame.h"
#include "protocol/OutputsConfig.h"
#include "text/TextEncoding.h"

namespace {

constexpr std::array<std::string_view, 2> kSeparators{",", "."};
constexpr std::size_t kHeader = 4;
constexpr std::size_t kChannelPayload = 30;
constexpr std::size_t kInputSize =
    kHeader + 2 * kvelt::kOutputsHalfSize + kvelt::kChannelCount * kChannelPayload;

void Check(bool condition) {
  if (!condition) std::abort();
}

// A number shown for value with `decimals` decimals reads back as that value.
void CheckShownNumber(std::string_view text, double value, int decimals, std::string_view separator) {
  Check(kvelt::IsValidUtf8(text) && !text.empty());
  if (text == "NAN" || text == "INF") {
    Check(!std::isfinite(value));
    return;
  }
  Check(std::isfinite(value));
  const auto parsed = kvelt::ParseLocaleReal(text, separator);
  Check(parsed.has_value());
  Check(!(*parsed == 0 && text.front() == '-'));
  if (text.find('E') == std::string_view::npos) {
    const double tolerance = 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(value) * 1e-14;
    Check(std::fabs(*parsed - value) <= tolerance);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::array<std::uint8_t, kInputSize> input{};
  std::copy_n(data, std::min(size, input.size()), input.begin());
  const int divSelection = input[0] % 7 - 1;  // -1..5: outside 0..4 as well
  const int decimals = divSelection >= 0 && divSelection <= 4 ? divSelection : 2;
  const std::string_view separator = kSeparators[input[1] % kSeparators.size()];
  const int unitSelection = (input[1] >> 1) % 6 - 1;
  const std::uint8_t* first = input.data() + kHeader;
  const std::uint8_t* second = first + kvelt::kOutputsHalfSize;
  const std::uint8_t* channels = second + kvelt::kOutputsHalfSize;

  const kvelt::OutputsFirstHalf firstHalf = kvelt::DecodeOutputsFirstHalf(first);
  const auto firstRows = kvelt::FillRowsFromFirstHalf(firstHalf, divSelection, separator);
  for (std::size_t i = 0; i < firstRows.size(); ++i) {
    Check(firstRows[i].Source >= -1 && firstRows[i].Comparison >= -1);
    CheckShownNumber(firstRows[i].Threshold, firstHalf.Entries[i].Threshold, decimals, separator);
  }
  const kvelt::OutputsSecondHalf secondHalf = kvelt::DecodeOutputsSecondHalf(second);
  const auto secondRows = kvelt::FillRowsFromSecondHalf(secondHalf, divSelection, separator);
  for (std::size_t i = 0; i < secondRows.size(); ++i) {
    Check(secondRows[i].Logic >= -1 && secondRows[i].SecondComparison >= -1);
    Check(secondRows[i].State >= -1 && secondRows[i].State <= 1);
    CheckShownNumber(secondRows[i].SecondThreshold, secondHalf.Entries[i].SecondThreshold, decimals,
                     separator);
  }

  kvelt::ChannelReadingArray readings{};
  for (int channel = 0; channel < kvelt::kChannelCount; ++channel) {
    kvelt::StoreChannelFrame(readings[static_cast<std::size_t>(channel)],
                             channels + static_cast<std::size_t>(channel) * kChannelPayload, unitSelection);
  }
  const auto text = [](std::string_view key) { return "Rozdzielczość " + std::string(key); };
  for (int channel = 0; channel <= kvelt::kChannelCount + 1; ++channel) {
    const auto box =
        kvelt::ComposeEncoderInfo(readings, channel, unitSelection, divSelection, separator, text);
    Check(box.has_value() == (channel >= 1 && channel <= kvelt::kChannelCount));
    if (box) Check(kvelt::IsValidUtf8(box->Title) && kvelt::IsValidUtf8(box->Text));
  }
  for (const kvelt::ChannelReading& reading : readings) {
    for (const float value : {reading.Position, reading.Speed}) {
      const auto shown = kvelt::FormatFixedPoint(value, 15, decimals, separator);
      Check(shown.has_value());
      CheckShownNumber(*shown, value, decimals, separator);
    }
  }

  kvelt::RecordColumns columns;
  columns.Date = (input[2] & 1) != 0;
  columns.Time = (input[2] & 2) != 0;
  std::size_t ticked = (columns.Date ? 1 : 0) + (columns.Time ? 1 : 0);
  for (std::size_t n = 0; n < 4; ++n) {
    columns.Position[n] = (input[3] >> n & 1) != 0;
    columns.Speed[n] = (input[3] >> (n + 4) & 1) != 0;
    ticked += (columns.Position[n] ? 1 : 0) + (columns.Speed[n] ? 1 : 0);
  }
  const std::string line = kvelt::ComposeRecordLine(
      columns, readings, decimals, separator, [] { return std::string("2026-12-10"); },
      [] { return std::string("05:30:00"); });
  Check(line.size() >= 2 && line.substr(line.size() - 2) == "\r\n");
  Check(static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')) == ticked);
  Check(line.find("2026-12-10") == std::string::npos);
  return 0;
}
