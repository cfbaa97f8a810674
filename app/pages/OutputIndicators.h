#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "app/pages/OutputRowControls.h"
#include "protocol/OutputsConfig.h"

class QLabel;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// The five transistor outputs at a glance on the read-outs page: one lamp per output, lit while
// channel 4's frames say the output is active, greyed while the values are old. Each lamp's
// tooltip gives its state and its rule as the last read of the outputs configuration had it.
class OutputIndicators {
 public:
  using Lamps = std::array<QLabel*, kOutputCount>;
  using Rows = std::array<TOutputRowControls, kOutputCount>;

  // `rows` are the configuration page's output rows, where a read of the outputs lands.
  OutputIndicators(const Lamps& lamps, const Rows& rows, const TLangTable& texts);

  // The output-state byte of a channel-4 frame (bit n-1 = output n); an unchanged state changes
  // nothing.
  void Show(std::uint8_t outputState);
  // Old values (the counter is gone) or current ones again.
  void SetStale(bool stale);
  // The outputs configuration has just been read into the rows: their rules are kept for the
  // tooltips (later edits of the rows are not what the counter does).
  void RulesRead();
  // The tooltips again, in the active language.
  void ApplyLanguage();

 private:
  // One row's rule as read: list choices by index (their texts follow the language).
  struct Rule {
    bool Read = false;
    bool Enabled = false;
    int Source = -1, Comparison = -1, Logic = -1, SecondComparison = -1;
    QString Threshold, SecondThreshold;
  };

  QString RuleText(std::size_t output) const;
  void Paint(std::size_t output);

  Lamps lamps_;
  const Rows& rows_;
  const TLangTable& texts_;
  std::array<Rule, kOutputCount> rules_{};
  std::uint8_t state_ = 0;
  bool shown_ = false;  // a state has been shown since the start
  bool stale_ = false;
};

}  // namespace kvelt::app
