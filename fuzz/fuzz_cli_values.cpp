// Feeds arbitrary text to every parser of a `kvelt` value: `set` assignments and their values,
// output rows, --columns, durations, periods, counts, units and decimals. Whatever a parser
// accepts must lie in its range and read back the same from the form the program prints.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/OutputRowText.h"
#include "cli/RecordColumnsText.h"
#include "cli/SettingAssignment.h"
#include "cli/SettingValueText.h"
#include "cli/ValueOptions.h"
#include "config/DeviceCommands.h"
#include "config/OutputsFill.h"

namespace {

using namespace kvelt;
using namespace kvelt::cli;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "command-line value invariant broken: %s\n", what);
    std::abort();
  }
}

constexpr long long kYearMs = 366LL * 24 * 3600 * 1000;

void CheckAssignment(std::string_view text) {
  std::string why;
  const auto setting = ParseSettingAssignment(text, why);
  if (!setting) {
    Check(!why.empty(), "a refusal says why");
    return;
  }
  const bool output = setting->Kind == SettingKind::Output;
  Check(output ? setting->Index >= 0 && setting->Index <= 4
               : setting->Index >= -1 && setting->Index <= (PerChannel(setting->Kind) ? 3 : -1),
        "the index");
  const auto again =
      ParseSettingAssignment(SettingName(setting->Kind, setting->Index) + "=" + setting->Value, why);
  Check(again && again->Kind == setting->Kind && again->Index == setting->Index &&
            again->Value == setting->Value,
        "an assignment reads back from its printed name");
}

void CheckOutputRow(std::string_view text) {
  std::string why;
  const auto row = ParseOutputRow(text, why);
  if (!row) {
    Check(!why.empty(), "a refusal says why");
    return;
  }
  Check(row->Source >= 0 && row->Source <= 3 && row->Comparison >= 0 && row->Comparison <= 1 &&
            row->Logic >= 0 && row->Logic <= 2 && row->SecondComparison >= 0 && row->SecondComparison <= 1 &&
            row->State >= 0 && row->State <= 1,
        "the row's positions");
  const std::string printed =
      FormatOutputRow({row->Enabled, row->Source, row->Comparison, row->Threshold},
                      {row->Logic, row->SecondComparison, row->SecondThreshold, row->State});
  const auto again = ParseOutputRow(printed, why);
  Check(again && again->Enabled == row->Enabled && again->Source == row->Source &&
            again->Threshold == row->Threshold && again->SecondThreshold == row->SecondThreshold &&
            again->State == row->State,
        "a row reads back from its printed form");
}

void CheckValues(const std::string& text) {
  std::string why;
  if (const auto columns = ParseRecordColumns(text, why)) {
    Check(!columns->empty(), "a column list names a column");
  }
  if (const auto duration = ParseDuration(text)) {
    Check(duration->count() >= 0 && duration->count() <= kYearMs, "a duration within a year");
  }
  if (const auto period = ParseRecordPeriod(text)) {
    Check(ParseRecordPeriod(std::string(RecordPeriodName(*period))) == period, "a period reads back");
  }
  if (const auto count = ParsePositiveCount(text)) Check(*count >= 1, "a count of at least 1");
  if (const auto unit = ParseUnit(text)) Check(ParseUnit(UnitName(*unit)) == unit, "a unit reads back");
  if (const auto decimals = ParseDecimals(text)) Check(*decimals >= 0 && *decimals <= 4, "decimals 0..4");
  if (const auto gate = GateTimePosition(text)) {
    const bool bare = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    const auto length = ParseDuration(bare ? text + "ms" : text);
    Check(length && GateTimeMilliseconds(*gate) &&
              static_cast<long long>(*GateTimeMilliseconds(*gate)) == length->count(),
          "a gate time is the length it names");
  }
  if (const auto marker = ZeroMarkerPosition(text)) Check(*marker == 0 || *marker == 1, "a zero marker");
  if (const auto baud = BaudRatePosition(text))
    Check(*baud >= 0 && *baud < kModbusBaudRateCount, "a baud rate");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckAssignment(text);
  CheckOutputRow(text);
  CheckValues(text);
  return 0;
}
