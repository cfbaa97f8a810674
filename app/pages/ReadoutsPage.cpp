#include "app/pages/ReadoutsPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <string>
#include <utility>

#include "app/pages/PageText.h"
#include "app/widgets/TReadoutEdit.h"
#include "config/DisplayDecimals.h"
#include "config/UnitCaptions.h"
#include "measure/FixedPointFormat.h"
#include "measure/qt/LocaleRecordLine.h"
#include "settings/IniSession.h"
#include "settings/SettingsKeys.h"

namespace kvelt::app {
namespace {

constexpr int kReadoutWidth = 15;

}  // namespace

ReadoutsPage::ReadoutsPage(const Controls& controls, const ChannelReadingArray& readings,
                           const TLangTable& texts, std::function<IniFile()> settings)
    : controls_(controls), readings_(readings), texts_(texts), settings_(std::move(settings)) {}

void ReadoutsPage::Refresh(int channel) {
  if (channel < 0 || channel >= kChannelCount) {
    return;
  }
  const auto index = static_cast<std::size_t>(channel);
  lastFrame_[index] = QTime::currentTime();
  if (controls_.Positions[index]->Stale()) controls_.Positions[index]->SetStale(false);
  if (controls_.Speeds[index]->Stale()) controls_.Speeds[index]->SetStale(false);
  const ChannelReading& reading = readings_[index];
  const int decimals = Decimals();
  const std::string separator = SystemDecimalSeparator();
  if (const auto text = FormatFixedPoint(reading.Position, kReadoutWidth, decimals, separator)) {
    controls_.Positions[index]->ShowText(QString::fromStdString(*text));
  }
  if (const auto text = FormatFixedPoint(reading.Speed, kReadoutWidth, decimals, separator)) {
    controls_.Speeds[index]->ShowText(QString::fromStdString(*text));
  }
}

void ReadoutsPage::ShowCounterState(bool connected, const QString& whatToDo, const QString& why) {
  const bool lost = connected_ && !connected;
  connected_ = connected;
  for (std::size_t c = 0; c < lastFrame_.size(); ++c) {
    const QString last = PageText(texts_, "IDS_220").arg(lastFrame_[c].toString(QStringLiteral("HH:mm:ss")));
    for (TReadoutEdit* box : {controls_.Positions[c], controls_.Speeds[c]}) {
      box->setPlaceholderText(connected ? QString() : whatToDo);
      if (box->text().isEmpty()) {
        box->setToolTip(connected ? QString() : why);
      } else if (lost || box->Stale()) {
        box->SetStale(true, last);  // again in the active language
      }
    }
  }
}

void ReadoutsPage::DisplayOptionChanged() {
  IniSession settings(settings_());
  settings.WriteInteger(SettingsKeys::Section, SettingsKeys::Div, controls_.Decimals->currentIndex());
  settings.WriteInteger(SettingsKeys::Section, SettingsKeys::Unit, controls_.Unit->currentIndex());
  settings.Save();
  ApplyUnitCaptions();
}

void ReadoutsPage::ApplyUnitCaptions(int unitIndex) {
  if (const auto keys = UnitCaptionKeysFor(unitIndex)) {
    controls_.SpeedFrame->setTitle(PageText(texts_, keys->Speed));
    controls_.PositionFrame->setTitle(PageText(texts_, keys->Position));
    controls_.ResolutionFrame->setTitle(PageText(texts_, keys->Resolution));
  }
}

void ReadoutsPage::ApplyUnitCaptions() { ApplyUnitCaptions(controls_.Unit->currentIndex()); }

int ReadoutsPage::Decimals() const { return DisplayDecimals(controls_.Decimals->currentIndex()); }

int ReadoutsPage::UnitSelection() const { return controls_.Unit->currentIndex(); }

}  // namespace kvelt::app
