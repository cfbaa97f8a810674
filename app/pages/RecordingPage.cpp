#include "app/pages/RecordingPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <utility>

#include "app/MessageBoxes.h"
#include "app/pages/FileProblemText.h"
#include "app/pages/PageText.h"
#include "app/pages/StatusSink.h"
#include "app/widgets/SaveDialogRunner.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "settings/SettingsKeys.h"

namespace kvelt::app {

RecordingPage::RecordingPage(const Controls& controls, const ChannelReadingArray& readings,
                             const TLangTable& texts, StatusSink& status,
                             std::function<void(const QString&)> showText, std::function<int()> decimals,
                             std::function<IniFile()> settings)
    : controls_(controls),
      readings_(readings),
      texts_(texts),
      status_(status),
      showText_(std::move(showText)),
      decimals_(std::move(decimals)),
      settings_(std::move(settings)),
      recorder_(std::make_unique<LineRecorder>([this] { return Target(); })) {}

void RecordingPage::StartAtStartUp() {
  recording_ = true;
  NoteStart();
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
      lastLineProblem_ = FileProblemText(texts_, recorder_->LastFailure());
      ShowFileProblem("IDS_190", controls_.File->text(), recorder_->LastFailure());
      return false;
    case LineRecorder::Outcome::WriteFailed:
      lastLineProblem_ = FileProblemText(texts_, recorder_->LastFailure());
      // The line is lost (and cut back out of the file), but the user is told; the frame's
      // handling goes on as for a written line.
      ShowFileProblem("IDS_190", controls_.File->text(), recorder_->LastFailure());
      return true;
  }
  return true;
}

void RecordingPage::NoteStart() {
  started_.start();
  linesAtStart_ = recorder_->LinesWritten();
  lastLineProblem_.clear();
}

QString RecordingPage::FileName() const { return controls_.File->text(); }

long long RecordingPage::LinesSinceStart() const { return recorder_->LinesWritten() - linesAtStart_; }

qint64 RecordingPage::MillisecondsSinceStart() const { return started_.isValid() ? started_.elapsed() : 0; }

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
  if (recording_) NoteStart();
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
  const QFileInfo current(controls_.File->text());
  if (!controls_.File->text().isEmpty() && current.absoluteDir().exists()) {
    controls_.Dialog->SetDirectory(current.absolutePath());
  }
  const std::optional<QString> chosen = RunSaveDialog(*controls_.Dialog);
  if (!chosen) {
    return;
  }
  controls_.File->setText(*chosen);
  const bool existed = QFileInfo::exists(*chosen);
  // Opened for appending as a line will be: a new file is created empty, an existing one is left
  // untouched (recording appends to it).
  const AppendFailure failure = AppendOpenFailure(QFile::encodeName(*chosen).toStdString());
  if (failure.What != AppendFailure::Cause::None) {
    ShowFileProblem("IDS_191", *chosen, failure);
  }
  if (!existed) {
    settings_().WriteString(SettingsKeys::Section, SettingsKeys::SaveFile, chosen->toStdString());
  }
}

void RecordingPage::ShowFileProblem(std::string_view key, const QString& file, const AppendFailure& failure) {
  showText_(PageText(texts_, key).arg(file, FileProblemText(texts_, failure)));
}

}  // namespace kvelt::app
