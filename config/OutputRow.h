#pragma once

#include <array>
#include <string>

namespace kvelt {

inline constexpr int kOutputRowCount = 5;

// What one transistor-output row shows, as its controls report it. List positions are those of
// the drop-down lists, -1 meaning no item selected.
struct OutputRow {
  bool Enabled = false;         // A: "Wyjście k" ticked
  int Source = 0;               // W: "Pozycja [1]".."Pozycja [4]"
  int Comparison = 0;           // B: "mniejsza" / "większa"
  std::string Threshold;        // N
  int Logic = 0;                // T: "---", "suma logiczna [and]", "iloczyn logiczny [or]"
  int SecondComparison = 0;     // C
  std::string SecondThreshold;  // M
  int State = 0;                // S: "Niekatywne" / "Aktywne"
};

using OutputRows = std::array<OutputRow, kOutputRowCount>;

// Logic rule: C and M are shown exactly when the logic list is not at "---" (position 0); they
// are hidden, never disabled. The same test decides whether a write validates M.
constexpr bool SecondComparisonVisible(int logicPosition) { return logicPosition != 0; }

}  // namespace kvelt
