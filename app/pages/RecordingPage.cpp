#include "app/pages/RecordingPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <utility>

#include "app/MessageBoxes.h"
#include "app/pages/PageText.h"
#include "app/pages/StatusSink.h"
#include "app/widgets/SaveDialogRunner.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "settings/SettingsKeys.h"

namespace kvelt::app {

RecordingPage::RecordingPage(const Controls& controls, const ChannelReadingArray& readings,
                             const TLangTable& texts, StatusSink& status, std::function<int()> decimals,
                             std::function<IniFile()> settings)
    : controls_(controls),
      readings_(readings),
      texts_(texts),
      status_(status),
      decimals_(std::move(decimals)),
      settings_(std::move(settings)),
      recorder_(std::make_unique<LineRecorder>([this] { return Target(); })) {}

void RecordingPage::StartAtStartUp() {
  recording_ = true;
  controls_.SaveButton->setText(PageText(texts_, "IDS_86"));
  status_.ShowStatusMessage(0, "IDS_87");
}

bool RecordingPage::Tick() {
  switch (recorder_->OnChannel4Frame(controls_.Period->currentIndex(), recording_, readings_)) {
    case LineRecorder::Outcome::NotDue:
    case LineRecorder::Outcome::Waiting:
    case LineRecorder::Outcome::Written:
      return true;
    case LineRecorder::Outcome::OpenFailed:
      status_.ShowStatusMessage(0, "IDS_6");
      return false;
    case LineRecorder::Outcome::WriteFailed:
      // The line is lost (and cut back out of the file), but the user is told; the frame's
      // handling goes on as for a written line.
      status_.ShowStatusMessage(0, "IDS_6");
      return true;
  }
  return true;
}

RecordTarget RecordingPage::Target() const {
  RecordTarget target;
  target.Path = QFile::encodeName(controls_.File->text()).toStdString();
  target.Columns.Date = controls_.Date->isChecked();
  target.Columns.Time = controls_.Time->isChecked();
  for (std::size_t channel = 0; channel < target.Columns.Position.size(); ++channel) {
    target.Columns.Position[channel] = controls_.Positions[channel]->isChecked();
    target.Columns.Speed[channel] = controls_.Speeds[channel]->isChecked();
  }
  target.Decimals = decimals_();
  return target;
}

void RecordingPage::SaveClick() {
  // The caption says what a click does; ApplyCaption keeps it so.
  recording_ = controls_.SaveButton->text() == PageText(texts_, "IDS_142");
  ApplyCaption();
  status_.ShowStatusMessage(0, recording_ ? "IDS_144" : "IDS_146");
}

void RecordingPage::ApplyCaption() {
  controls_.SaveButton->setText(PageText(texts_, recording_ ? "IDS_86" : "IDS_142"));
}

void RecordingPage::ChooseFileClick() {
  if (recording_) {
    ShowMessageBox(MessageIcon::Error, PageText(texts_, "IDS_139"), PageText(texts_, "IDS_138"));
    return;
  }
  const std::optional<QString> chosen = RunSaveDialog(*controls_.Dialog);
  if (!chosen) {
    return;
  }
  controls_.File->setText(*chosen);
  if (QFileInfo::exists(*chosen)) {
    return;  // left untouched; recording appends to it
  }
  {
    // Created empty now; a failure shows at the first line.
    QFile file(*chosen);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
      file.close();
    }
  }
  settings_().WriteString(SettingsKeys::Section, SettingsKeys::SaveFile, chosen->toStdString());
}

}  // namespace kvelt::app
