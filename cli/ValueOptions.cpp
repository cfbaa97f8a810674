#include "cli/ValueOptions.h"

#include <array>
#include <charconv>
#include <cmath>

#include "measure/RecordPacer.h"

namespace kvelt::cli {
namespace {

constexpr std::array<std::string_view, 4> kUnitNames{"rev/s", "rev/min", "mm/s", "mm/min"};
constexpr std::array<std::string_view, 4> kPolishUnitNames{"obr/s", "obr/min", "mm/s", "mm/min"};
// A period of n channel-4 frames lasts n x 10 ms; the first entry (0 frames) is every frame.
constexpr long long kFrameMs = 10;
constexpr long long PeriodMs(std::size_t position) {
  return SavePeriodFrames[position] == 0 ? kFrameMs : SavePeriodFrames[position] * kFrameMs;
}
constexpr double kMaxDurationMs = 366.0 * 24 * 3600 * 1000;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A plain decimal number with '.' or ',' as separator, no sign, no exponent.
std::optional<double> ParsePlainNumber(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) {
    if (c == ',') c = '.';
  }
  if (copy.empty() || copy.front() == '.' || copy.back() == '.') {
    return std::nullopt;
  }
  int separators = 0;
  for (const char c : copy) {
    if (c == '.') {
      ++separators;
    } else if (c < '0' || c > '9') {
      return std::nullopt;
    }
  }
  if (separators > 1) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
  if (error != std::errc() || end != copy.data() + copy.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int> ParseUnit(std::string_view text) {
  text = Trimmed(text);
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    text = text.substr(1, text.size() - 2);
  }
  for (std::size_t i = 0; i < kUnitNames.size(); ++i) {
    if (text == kUnitNames[i] || text == kPolishUnitNames[i]) return static_cast<int>(i);
  }
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') return text[0] - '0';
  return std::nullopt;
}

std::string_view UnitName(int unit) {
  return unit >= 0 && unit < static_cast<int>(kUnitNames.size()) ? kUnitNames[static_cast<std::size_t>(unit)]
                                                                 : std::string_view();
}

std::optional<int> ParseDecimals(std::string_view text) {
  text = Trimmed(text);
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '4') return text[0] - '0';
  return std::nullopt;
}

std::optional<std::chrono::milliseconds> ParseDuration(std::string_view text) {
  text = Trimmed(text);
  struct Suffix {
    std::string_view Name;
    double Ms;
  };
  // Longest first, so "ms" and "min" are not read as "s" or "m...".
  static constexpr std::array<Suffix, 4> kSuffixes{
      {{"min", 60000.0}, {"ms", 1.0}, {"s", 1000.0}, {"h", 3600000.0}}};
  double scale = 1000.0;
  for (const Suffix& suffix : kSuffixes) {
    if (text.size() > suffix.Name.size() && text.substr(text.size() - suffix.Name.size()) == suffix.Name) {
      text = Trimmed(text.substr(0, text.size() - suffix.Name.size()));
      scale = suffix.Ms;
      break;
    }
  }
  const std::optional<double> number = ParsePlainNumber(text);
  if (!number) return std::nullopt;
  const double ms = *number * scale;
  if (!std::isfinite(ms) || ms > kMaxDurationMs) return std::nullopt;
  return std::chrono::milliseconds(std::llround(ms));
}

std::optional<int> ParseRecordPeriod(std::string_view text) {
  const std::optional<std::chrono::milliseconds> length = ParseDuration(text);
  if (!length) return std::nullopt;
  for (std::size_t i = 0; i < SavePeriodFrames.size(); ++i) {
    if (length->count() == PeriodMs(i)) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::string_view RecordPeriodName(int position) {
  return position >= 0 && position < static_cast<int>(SavePeriodLabels.size())
             ? SavePeriodLabels[static_cast<std::size_t>(position)]
             : std::string_view();
}

std::optional<long long> ParsePositiveCount(std::string_view text) {
  text = Trimmed(text);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1) {
    return std::nullopt;
  }
  return value;
}

}  // namespace kvelt::cli
