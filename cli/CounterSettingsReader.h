#pragma once

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "cli/SettingAssignment.h"
#include "config/OutputRow.h"
#include "config/OutputsFill.h"

namespace kvelt::cli {

class CounterLink;
class CounterReplies;

// Reads settings from the counter, one request at a time, each waited for, and gives them in
// the form `set` takes. Values in the locale's notation with at least `decimals` decimals and as
// many more as keep the counter's value exact.
class CounterSettingsReader {
 public:
  CounterSettingsReader(CounterLink& link, CounterReplies& replies, std::chrono::milliseconds timeout,
                        int decimals, std::string decimalSeparator);

  // "name=value" lines of the setting (every channel or output when its Index is -1).
  std::vector<SettingAssignment> Read(const SettingAssignment& which);

  // The five rows as the counter reports them (both halves asked for).
  struct Rows {
    std::array<OutputRowFirstFill, kOutputRowCount> First;
    std::array<OutputRowSecondFill, kOutputRowCount> Second;
  };
  Rows ReadOutputs();

 private:
  std::string ChannelValue(SettingKind kind, int channel);

  CounterLink& link_;
  CounterReplies& replies_;
  std::chrono::milliseconds timeout_;
  int decimals_;
  std::string separator_;
};

}  // namespace kvelt::cli
