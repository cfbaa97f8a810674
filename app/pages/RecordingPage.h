#pragma once

#include <QElapsedTimer>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "measure/ChannelReading.h"
#include "measure/qt/LineRecorder.h"
#include "settings/IniFile.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class TBitBtn;
class TSaveDialog;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

class StatusSink;

// Recording the measured values to a text file: the start/stop button, the choice of the file,
// the columns chosen on the program settings page and the line on every channel-4 frame.
class RecordingPage {
 public:
  struct Controls {
    TBitBtn* SaveButton = nullptr;
    QComboBox* Period = nullptr;
    QLineEdit* File = nullptr;
    QCheckBox* Date = nullptr;
    QCheckBox* Time = nullptr;
    std::array<QCheckBox*, kChannelCount> Positions{};
    std::array<QCheckBox*, kChannelCount> Speeds{};
    TSaveDialog* Dialog = nullptr;
  };
  // `showText` puts a composed text (a file problem with the file's name) into status panel 0;
  // `decimals` gives the display's decimals; `settings` the settings file, opened afresh.
  RecordingPage(const Controls& controls, const ChannelReadingArray& readings, const TLangTable& texts,
                StatusSink& status, std::function<void(const QString&)> showText,
                std::function<int()> decimals, std::function<IniFile()> settings);

  bool Recording() const { return recording_; }
  // Recording from the start, as the settings ask (auto_save).
  void StartAtStartUp();
  // SaveButton: starts or stops recording, as its caption says.
  void SaveClick();
  // SaveButton's caption for the recording state: stop while recording, start otherwise.
  void ApplyCaption();
  // SpeedButton1: the file chosen (refused while recording) in a dialog opened in the current
  // file's folder, created empty when new, and kept in the settings; a file that cannot be
  // appended to is reported at once and kept all the same, as the user may fix its folder.
  void ChooseFileClick();

  // A channel frame arrived; the recorder waits for every chosen channel before its first line.
  void NoteChannelFrame(int channel) { recorder_->NoteChannelFrame(channel); }
  // A new stream of reports: the period count and the channels heard start afresh.
  void Restart() { recorder_->Restart(); }
  // The step of a channel-4 frame: a line when one is due; false when the file cannot be opened.
  // A line that fails is reported with the file's name and the reason; recording stays on and the
  // next period tries again.
  bool Tick();
  // The period count and the channels heard.
  const LineRecorder& Recorder() const { return *recorder_; }
  // What the next line is made of: the chosen columns, decimals and file.
  RecordTarget Target() const;
  // The recording's progress since it was started: the file, the lines written, the time, and
  // why the last line failed (empty when none has since the start; in the language of then).
  QString FileName() const;
  long long LinesSinceStart() const;
  qint64 MillisecondsSinceStart() const;
  const QString& LastLineProblem() const { return lastLineProblem_; }

 private:
  // The recording file's failure in status panel 0: `key`'s text with the file and the reason.
  void ShowFileProblem(std::string_view key, const QString& file, const AppendFailure& failure);

  Controls controls_;
  const ChannelReadingArray& readings_;
  const TLangTable& texts_;
  StatusSink& status_;
  std::function<void(const QString&)> showText_;
  std::function<int()> decimals_;
  std::function<IniFile()> settings_;
  void NoteStart();

  std::unique_ptr<LineRecorder> recorder_;
  bool recording_ = false;
  QElapsedTimer started_;
  long long linesAtStart_ = 0;
  QString lastLineProblem_;
};

}  // namespace kvelt::app
