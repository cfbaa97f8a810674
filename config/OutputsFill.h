#pragma once

#include <array>
#include <string>
#include <string_view>

#include "config/OutputRow.h"
#include "protocol/OutputsConfig.h"

namespace kvelt {

// What a 108 reply puts into one row. Positions outside their list are -1 (no item selected).
struct OutputRowFirstFill {
  bool Enabled = false;  // the enable byte equals 1
  int Source = -1;
  int Comparison = -1;
  std::string Threshold;
  bool operator==(const OutputRowFirstFill&) const = default;
};

// What a 113 reply puts into one row.
struct OutputRowSecondFill {
  int Logic = -1;
  int SecondComparison = -1;
  std::string SecondThreshold;
  int State = -1;  // the state byte read as a signed byte: 0 or 1, else -1
  bool operator==(const OutputRowSecondFill&) const = default;
};

// `divSelection` is the current selection of `div` (the default of two decimals outside 0..4).
OutputRowFirstFill FillFromFirstEntry(const OutputFirstEntry& entry, int divSelection,
                                      std::string_view decimalSeparator);
OutputRowSecondFill FillFromSecondEntry(const OutputSecondEntry& entry, int divSelection,
                                        std::string_view decimalSeparator);

std::array<OutputRowFirstFill, kOutputRowCount> FillRowsFromFirstHalf(const OutputsFirstHalf& half,
                                                                      int divSelection,
                                                                      std::string_view decimalSeparator);
std::array<OutputRowSecondFill, kOutputRowCount> FillRowsFromSecondHalf(const OutputsSecondHalf& half,
                                                                        int divSelection,
                                                                        std::string_view decimalSeparator);

// A received threshold: "0" when it equals zero (either sign), else fixed-point with 18
// significant digits and `divSelection` decimals.
std::string ThresholdText(float value, int divSelection, std::string_view decimalSeparator);

}  // namespace kvelt
