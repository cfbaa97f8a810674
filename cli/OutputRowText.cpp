#include "cli/OutputRowText.h"

#include <array>
#include <vector>

namespace kvelt::cli {
namespace {

constexpr std::array<std::string_view, 2> kEnable{"off", "on"};
constexpr std::array<std::string_view, 4> kSource{"pos1", "pos2", "pos3", "pos4"};
constexpr std::array<std::string_view, 2> kComparison{"less", "greater"};
constexpr std::array<std::string_view, 3> kLogic{"none", "and", "or"};
constexpr std::array<std::string_view, 2> kState{"inactive", "active"};

template <std::size_t N>
std::string_view NameAt(const std::array<std::string_view, N>& names, int position) {
  return position >= 0 && position < static_cast<int>(N) ? names[static_cast<std::size_t>(position)] : "?";
}

template <std::size_t N>
std::optional<int> PositionOf(const std::array<std::string_view, N>& names, std::string_view text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == text) return static_cast<int>(i);
  }
  return std::nullopt;
}

template <std::size_t N>
std::string Choices(const std::array<std::string_view, N>& names) {
  std::string text;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) text += i + 1 == N ? " or " : ", ";
    text += names[i];
  }
  return text;
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t colon = text.find(':');
    fields.push_back(text.substr(0, colon));
    if (colon == std::string_view::npos) return fields;
    text.remove_prefix(colon + 1);
  }
}

}  // namespace

std::string FormatOutputRow(const OutputRowFirstFill& first, const OutputRowSecondFill& second) {
  std::string text;
  const auto add = [&text](std::string_view field) {
    if (!text.empty()) text += ':';
    text += field;
  };
  add(NameAt(kEnable, first.Enabled ? 1 : 0));
  add(NameAt(kSource, first.Source));
  add(NameAt(kComparison, first.Comparison));
  add(first.Threshold);
  add(NameAt(kLogic, second.Logic));
  add(NameAt(kComparison, second.SecondComparison));
  add(second.SecondThreshold);
  add(NameAt(kState, second.State));
  return text;
}

std::optional<OutputRow> ParseOutputRow(std::string_view text, std::string& why) {
  const std::vector<std::string_view> fields = Fields(text);
  if (fields.size() != 8) {
    why =
        "an output row has 8 fields separated by ':' "
        "(enable:source:comparison:threshold:logic:second-comparison:second-threshold:state)";
    return std::nullopt;
  }
  OutputRow row;
  const auto pick = [&why](const auto& names, std::string_view field, std::string_view what, int& target) {
    const std::optional<int> position = PositionOf(names, field);
    if (!position) {
      why = std::string(what) + " must be " + Choices(names) + ", not \"" + std::string(field) + "\"";
      return false;
    }
    target = *position;
    return true;
  };
  int enabled = 0;
  if (!pick(kEnable, fields[0], "the enable field", enabled) ||
      !pick(kSource, fields[1], "the source", row.Source) ||
      !pick(kComparison, fields[2], "the comparison", row.Comparison) ||
      !pick(kLogic, fields[4], "the logic", row.Logic) ||
      !pick(kComparison, fields[5], "the second comparison", row.SecondComparison) ||
      !pick(kState, fields[7], "the state", row.State)) {
    return std::nullopt;
  }
  row.Enabled = enabled == 1;
  row.Threshold = std::string(fields[3]);
  row.SecondThreshold = std::string(fields[6]);
  return row;
}

OutputRow RowFromFills(const OutputRowFirstFill& first, const OutputRowSecondFill& second) {
  OutputRow row;
  row.Enabled = first.Enabled;
  row.Source = first.Source;
  row.Comparison = first.Comparison;
  row.Threshold = first.Threshold;
  row.Logic = second.Logic;
  row.SecondComparison = second.SecondComparison;
  row.SecondThreshold = second.SecondThreshold;
  row.State = second.State;
  return row;
}

}  // namespace kvelt::cli
