// Recording the measured values to a text file: the tick on every channel-4 frame, the line, the
// start/stop button and the choice of the file.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/SaveDialogRunner.h"
#include "app/TBitBtn.h"
#include "app/TSaveDialog.h"
#include "settings/SettingsKeys.h"

bool TFMain::RecordingTick() {
  switch (Recorder->OnChannel4Frame(ComboBox_SavePeriod->currentIndex(), Recording, ChannelReadings)) {
    case kvelt::LineRecorder::Outcome::NotDue:
    case kvelt::LineRecorder::Outcome::Waiting:
    case kvelt::LineRecorder::Outcome::Written:
      return true;
    case kvelt::LineRecorder::Outcome::OpenFailed:
      ShowStatusMessage(0, "IDS_6");
      return false;
    case kvelt::LineRecorder::Outcome::WriteFailed:
      // The line is lost (and cut back out of the file), but the user is told; the frame's
      // handling goes on as for a written line.
      ShowStatusMessage(0, "IDS_6");
      return true;
  }
  return true;
}

kvelt::RecordTarget TFMain::RecordingTarget() const {
  kvelt::RecordTarget target;
  target.Path = QFile::encodeName(save_file->text()).toStdString();
  target.Columns.Date = save_date->isChecked();
  target.Columns.Time = save_time->isChecked();
  for (std::size_t channel = 0; channel < target.Columns.Position.size(); ++channel) {
    target.Columns.Position[channel] = save_pos[channel]->isChecked();
    target.Columns.Speed[channel] = save_ver[channel]->isChecked();
  }
  target.Decimals = DisplayDecimals();
  return target;
}

void TFMain::SaveButtonClick(QObject* /*Sender*/) {
  if (SaveButton->text() == LangText("IDS_142")) {
    Recording = true;
    SaveButton->setText(LangText("IDS_86"));
    ShowStatusMessage(0, "IDS_144");
  } else {
    Recording = false;
    SaveButton->setText(LangText("IDS_142"));
    ShowStatusMessage(0, "IDS_146");
  }
}

void TFMain::ApplyRecordButtonCaption() {
  // SaveButtonClick decides by this caption, so it must say what the next click does.
  SaveButton->setText(LangText(Recording ? "IDS_86" : "IDS_142"));
}

void TFMain::SpeedButton1Click(QObject* /*Sender*/) {
  if (Recording) {
    kvelt::app::ShowMessageBox(kvelt::app::MessageIcon::Error, LangText("IDS_139"), LangText("IDS_138"));
    return;
  }
  const std::optional<QString> chosen = kvelt::app::RunSaveDialog(*SaveDialog);
  if (!chosen) {
    return;
  }
  save_file->setText(*chosen);
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
  Settings().WriteString(kvelt::SettingsKeys::Section, kvelt::SettingsKeys::SaveFile, chosen->toStdString());
}
