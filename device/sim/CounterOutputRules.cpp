#include "device/sim/CounterOutputRules.h"

#include "protocol/Selector.h"

namespace kvelt::hid::sim {

namespace {

bool Compare(float value, float threshold, int choice) {
  return choice == 1 ? value > threshold : value < threshold;
}

}  // namespace

std::uint8_t ComputeOutputState(const OutputsFirstHalf& first, const OutputsSecondHalf& second,
                                const std::array<float, 4>& positions) {
  std::uint8_t state = 0;
  for (std::size_t k = 0; k < kOutputCount; ++k) {
    const OutputFirstEntry& a = first.Entries[k];
    const OutputSecondEntry& b = second.Entries[k];
    if (a.Enable != 1) continue;
    const SelectorValue source = DecodeSelector(a.Selector);
    const SelectorValue logic = DecodeSelector(b.Selector);
    if (source.Position < 0 || source.Position > 3 || logic.Position < 0 || logic.Position > 2) {
      continue;
    }
    const float value = positions[static_cast<std::size_t>(source.Position)];
    const bool firstHolds = Compare(value, a.Threshold, source.Choice);
    const bool secondHolds = Compare(value, b.SecondThreshold, logic.Choice);
    bool rule = firstHolds;
    if (logic.Position == 1) rule = firstHolds && secondHolds;
    if (logic.Position == 2) rule = firstHolds || secondHolds;
    const bool on = b.State == 1 ? rule : !rule;
    if (on) state = static_cast<std::uint8_t>(state | (1u << k));
  }
  return state;
}

}  // namespace kvelt::hid::sim
