#include "app/pages/OutputIndicators.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/pages/PageText.h"
#include "app/widgets/ReadableColour.h"
#include "protocol/ChannelFrame.h"

namespace kvelt::app {
namespace {

QString ItemText(const QComboBox* list, int index) {
  return list != nullptr && index >= 0 && index < list->count() ? list->itemText(index) : QStringLiteral("?");
}

}  // namespace

OutputIndicators::OutputIndicators(const Lamps& lamps, const Rows& rows, const TLangTable& texts)
    : lamps_(lamps), rows_(rows), texts_(texts) {
  for (std::size_t output = 0; output < kOutputCount; ++output) {
    lamps_[output]->setAlignment(Qt::AlignCenter);
    lamps_[output]->setAutoFillBackground(true);
    Paint(output);
  }
  ApplyLanguage();
}

void OutputIndicators::Show(std::uint8_t outputState) {
  if (shown_ && !stale_ && outputState == state_) {
    return;
  }
  state_ = outputState;
  shown_ = true;
  stale_ = false;
  for (std::size_t output = 0; output < kOutputCount; ++output) {
    Paint(output);
  }
  ApplyLanguage();
}

void OutputIndicators::SetStale(bool stale) {
  if (stale == stale_ || !shown_) {
    return;
  }
  stale_ = stale;
  for (std::size_t output = 0; output < kOutputCount; ++output) {
    Paint(output);
  }
}

void OutputIndicators::RulesRead() {
  for (std::size_t output = 0; output < kOutputCount; ++output) {
    const TOutputRowControls& row = rows_[output];
    Rule& rule = rules_[output];
    rule.Read = true;
    rule.Enabled = row.A != nullptr && row.A->isChecked();
    rule.Source = row.W != nullptr ? row.W->currentIndex() : -1;
    rule.Comparison = row.B != nullptr ? row.B->currentIndex() : -1;
    rule.Threshold = row.N != nullptr ? row.N->text() : QString();
    rule.Logic = row.T != nullptr ? row.T->currentIndex() : -1;
    rule.SecondComparison = row.C != nullptr ? row.C->currentIndex() : -1;
    rule.SecondThreshold = row.M != nullptr ? row.M->text() : QString();
  }
  ApplyLanguage();
}

void OutputIndicators::ApplyLanguage() {
  for (std::size_t output = 0; output < kOutputCount; ++output) {
    const bool active = shown_ && OutputStateBit(state_, static_cast<int>(output) + 1) != 0;
    const QString state = shown_ ? PageText(texts_, active ? "IDS_232" : "IDS_233") : QStringLiteral("?");
    lamps_[output]->setToolTip(
        PageText(texts_, "IDS_231").arg(QString::number(output + 1), state, RuleText(output)));
  }
}

QString OutputIndicators::RuleText(std::size_t output) const {
  const Rule& rule = rules_[output];
  if (!rule.Read) {
    return PageText(texts_, "IDS_234");
  }
  if (!rule.Enabled) {
    return PageText(texts_, "IDS_235");
  }
  const TOutputRowControls& row = rows_[output];
  QString text =
      ItemText(row.W, rule.Source) + u' ' + ItemText(row.B, rule.Comparison) + u' ' + rule.Threshold;
  // The logic list's first entry joins nothing: the rule has one comparison.
  if (rule.Logic > 0) {
    text += u' ' + ItemText(row.T, rule.Logic) + u' ' + ItemText(row.C, rule.SecondComparison) + u' ' +
            rule.SecondThreshold;
  }
  return text;
}

void OutputIndicators::Paint(std::size_t output) {
  QLabel* lamp = lamps_[output];
  const bool active = shown_ && OutputStateBit(state_, static_cast<int>(output) + 1) != 0;
  QPalette colours = lamp->palette();
  const QPalette own = lamp->parentWidget() != nullptr ? lamp->parentWidget()->palette() : QPalette();
  const QColor window = own.color(QPalette::Window);
  // Lit: a green lamp with dark text; out: the window's own colour. Old values: grey text.
  const QColor background = active ? QColor(0x4c, 0xc2, 0x4c) : window;
  const QColor wanted = stale_ ? QColor(Qt::gray) : own.color(QPalette::WindowText);
  colours.setColor(QPalette::Window, background);
  colours.setColor(QPalette::WindowText, ReadableColour::On(wanted, background));
  lamp->setPalette(colours);
  lamp->setFrameShape(QFrame::Box);
  QFont font = lamp->font();
  font.setBold(active);
  lamp->setFont(font);
  lamp->setText(QString::number(output + 1));
}

}  // namespace kvelt::app
