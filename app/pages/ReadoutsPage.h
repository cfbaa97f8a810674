#pragma once

#include <QString>
#include <QTime>
#include <array>
#include <functional>

#include "measure/ChannelReading.h"
#include "settings/IniFile.h"

class QComboBox;
class QGroupBox;
class TReadoutEdit;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// The read-outs page and the display options: each channel frame's position and speed shown in
// the chosen decimals and the user's decimal separator, and the unit named in the frames'
// captions. The `div` and `unit` choices are stored at once.
class ReadoutsPage {
 public:
  struct Controls {
    std::array<TReadoutEdit*, kChannelCount> Positions{};  // Edit1, Edit4, Edit7, Edit10
    std::array<TReadoutEdit*, kChannelCount> Speeds{};     // Edit2, Edit5, Edit8, Edit11
    QComboBox* Decimals = nullptr;                         // `div`
    QComboBox* Unit = nullptr;                             // `unit`
    QGroupBox* SpeedFrame = nullptr;                       // BoxPred
    QGroupBox* PositionFrame = nullptr;                    // BoxPos
    QGroupBox* ResolutionFrame = nullptr;                  // GroupBox1
  };
  // `settings` gives the settings file, opened afresh.
  ReadoutsPage(const Controls& controls, const ChannelReadingArray& readings, const TLangTable& texts,
               std::function<IniFile()> settings);

  // Shows channel 0..3's reading; other channels are ignored.
  void Refresh(int channel);
  // The counter's state, after every device change and language change: when the counter is no
  // longer connected, every read-out that shows a value is greyed as old, with the time of its
  // last frame in its tooltip, until the channel's next frame. Empty read-outs show `whatToDo`
  // (none while connected) and `why` as their tooltip.
  void ShowCounterState(bool connected, const QString& whatToDo, const QString& why);
  // `div` or `unit` chosen: both stored, the captions follow the unit.
  void DisplayOptionChanged();
  // The captions for a `unit` index; other indexes change nothing.
  void ApplyUnitCaptions(int unitIndex);
  void ApplyUnitCaptions();

  // The decimals of measured values: the selection of `div`, its default with none.
  int Decimals() const;
  int UnitSelection() const;

 private:
  Controls controls_;
  const ChannelReadingArray& readings_;
  const TLangTable& texts_;
  std::function<IniFile()> settings_;
  // When each channel's last frame was shown.
  std::array<QTime, kChannelCount> lastFrame_{};
  bool connected_ = false;
};

}  // namespace kvelt::app
