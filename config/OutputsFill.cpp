#include "config/OutputsFill.h"

#include <cstdint>

#include "config/DisplayDecimals.h"
#include "measure/FixedPointFormat.h"
#include "protocol/Selector.h"

namespace kvelt {

namespace {

constexpr int kThresholdPrecision = 18;
constexpr int kSourceCount = 4;  // "Pozycja [1]".."Pozycja [4]"
constexpr int kLogicCount = 3;   // "---", "[and]", "[or]"
constexpr int kTwoWayCount = 2;  // comparisons and states

int ListPosition(int position, int itemCount) {
  return position >= 0 && position < itemCount ? position : -1;
}

}  // namespace

std::string ThresholdText(float value, int divSelection, std::string_view decimalSeparator) {
  if (value == 0.0f) {
    return "0";
  }
  return FormatFixedPoint(static_cast<double>(value), kThresholdPrecision, DisplayDecimals(divSelection),
                          decimalSeparator)
      .value_or(std::string{});
}

OutputRowFirstFill FillFromFirstEntry(const OutputFirstEntry& entry, int divSelection,
                                      std::string_view decimalSeparator) {
  const SelectorValue selector = DecodeSelector(entry.Selector);
  OutputRowFirstFill fill;
  fill.Enabled = entry.Enable == 1;
  fill.Source = ListPosition(selector.Position, kSourceCount);
  fill.Comparison = ListPosition(selector.Choice, kTwoWayCount);
  fill.Threshold = ThresholdText(entry.Threshold, divSelection, decimalSeparator);
  return fill;
}

OutputRowSecondFill FillFromSecondEntry(const OutputSecondEntry& entry, int divSelection,
                                        std::string_view decimalSeparator) {
  const SelectorValue selector = DecodeSelector(entry.Selector);
  OutputRowSecondFill fill;
  fill.Logic = ListPosition(selector.Position, kLogicCount);
  fill.SecondComparison = ListPosition(selector.Choice, kTwoWayCount);
  fill.SecondThreshold = ThresholdText(entry.SecondThreshold, divSelection, decimalSeparator);
  fill.State = ListPosition(static_cast<std::int8_t>(entry.State), kTwoWayCount);
  return fill;
}

std::array<OutputRowFirstFill, kOutputRowCount> FillRowsFromFirstHalf(const OutputsFirstHalf& half,
                                                                      int divSelection,
                                                                      std::string_view decimalSeparator) {
  std::array<OutputRowFirstFill, kOutputRowCount> fills;
  for (int k = 0; k < kOutputRowCount; ++k) {
    fills[k] = FillFromFirstEntry(half.Entries[k], divSelection, decimalSeparator);
  }
  return fills;
}

std::array<OutputRowSecondFill, kOutputRowCount> FillRowsFromSecondHalf(const OutputsSecondHalf& half,
                                                                        int divSelection,
                                                                        std::string_view decimalSeparator) {
  std::array<OutputRowSecondFill, kOutputRowCount> fills;
  for (int k = 0; k < kOutputRowCount; ++k) {
    fills[k] = FillFromSecondEntry(half.Entries[k], divSelection, decimalSeparator);
  }
  return fills;
}

}  // namespace kvelt
