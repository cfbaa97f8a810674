#include "device/CounterChoice.h"

#include <charconv>

#include "device/DeviceLabel.h"

namespace kvelt::hid {
namespace {

int NamedDevice(const std::vector<ChoiceCandidate>& devices, std::string_view choice) {
  const int count = static_cast<int>(devices.size());
  if (choice.find_first_of("/:") != std::string_view::npos) {
    for (int i = count; i-- > 0;) {
      if (devices[static_cast<std::size_t>(i)].Path == choice) return i;
    }
    return -1;
  }
  for (int i = count; i-- > 0;) {
    if (devices[static_cast<std::size_t>(i)].SerialNumber == choice) return i;
  }
  int position = 0;
  const auto [end, error] = std::from_chars(choice.data(), choice.data() + choice.size(), position);
  if (error != std::errc() || end != choice.data() + choice.size() || position < 1 || position > count)
    return -1;
  return position - 1;
}

bool IsLentCounter(const ChoiceCandidate& device) {
  return device.Lent && IsCounterLabel(device.ProductString);
}

}  // namespace

int ChooseCounter(const std::vector<ChoiceCandidate>& devices, std::string_view choice) {
  if (!choice.empty()) {
    const int named = NamedDevice(devices, choice);
    return named >= 0 && IsLentCounter(devices[static_cast<std::size_t>(named)]) ? named : -1;
  }
  for (int i = static_cast<int>(devices.size()); i-- > 0;) {
    if (IsLentCounter(devices[static_cast<std::size_t>(i)])) return i;
  }
  return -1;
}

}  // namespace kvelt::hid
