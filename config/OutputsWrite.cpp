#include "config/OutputsWrite.h"

#include <cstdint>
#include <optional>

#include "config/LocaleNumber.h"
#include "protocol/Selector.h"

namespace kvelt {

namespace {

std::optional<float> ThresholdValue(const std::string& text, std::string_view decimalSeparator) {
  const std::optional<double> value = ParseLocaleReal(text, decimalSeparator);
  return value ? ToSingle(*value) : std::nullopt;
}

}  // namespace

OutputsWrite BuildOutputsWrite(const OutputRows& rows, std::string_view decimalSeparator) {
  OutputsWrite write;
  std::array<float, kOutputRowCount> thresholds{};
  std::array<float, kOutputRowCount> secondThresholds{};

  for (int k = 0; k < kOutputRowCount; ++k) {
    if (!rows[k].Enabled) {
      continue;
    }
    if (const auto value = ThresholdValue(rows[k].Threshold, decimalSeparator)) {
      thresholds[k] = *value;
    } else {
      write.Refused.push_back({k, OutputBox::Threshold});
    }
  }
  for (int k = 0; k < kOutputRowCount; ++k) {
    if (!rows[k].Enabled || !SecondComparisonVisible(rows[k].Logic)) {
      continue;
    }
    if (const auto value = ThresholdValue(rows[k].SecondThreshold, decimalSeparator)) {
      secondThresholds[k] = *value;
    } else {
      write.Refused.push_back({k, OutputBox::SecondThreshold});
    }
  }
  if (!write.Ok()) {
    return write;
  }

  for (int k = 0; k < kOutputRowCount; ++k) {
    const OutputRow& row = rows[k];
    OutputFirstEntry& first = write.First.Entries[k];
    first.Enable = row.Enabled ? 1 : 0;
    first.Selector = EncodeSelector(row.Source, row.Comparison);
    first.Threshold = thresholds[k];

    OutputSecondEntry& second = write.Second.Entries[k];
    second.Selector = EncodeSelector(row.Logic, row.SecondComparison);
    second.SecondThreshold = secondThresholds[k];
    second.State = static_cast<std::uint8_t>(row.State);
  }
  return write;
}

}  // namespace kvelt
