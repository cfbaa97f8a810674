#pragma once

#include <array>
#include <functional>

#include "settings/CheckBoxSettings.h"
#include "settings/IniFile.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace kvelt {
class IniSession;
}  // namespace kvelt

namespace kvelt::app {

// The program settings kept in config.ini: read into the controls at start-up, every check box
// and the recording period stored as soon as the user changes them (once the start-up read has
// succeeded), and the window's place, the language and the period stored at close.
class ProgramSettingsPage {
 public:
  struct Controls {
    QWidget* Window = nullptr;
    // In the order of kvelt::CheckBoxSettings().
    std::array<QCheckBox*, kCheckBoxSettingCount> CheckBoxes{};
    QLineEdit* File = nullptr;      // save_file
    QComboBox* Decimals = nullptr;  // `div`
    QComboBox* Unit = nullptr;      // `unit`
    QComboBox* Language = nullptr;  // LangCombo1
    QComboBox* Period = nullptr;    // ComboBox_SavePeriod
  };
  // `settings` gives the settings file, opened afresh.
  ProgramSettingsPage(const Controls& controls, std::function<IniFile()> settings);

  // Fills the controls from the file; a stored index outside its list selects the default.
  void Read(const IniSession& settings);
  // Whether a change of the user is stored (the start-up read succeeded).
  bool Ready() const { return ready_; }
  void SetReady(bool ready) { ready_ = ready; }
  // FormClick: the check boxes and the recording period.
  void StoreChange();
  // FormClose: the window's place, the language and the recording period.
  void StoreOnClose();

 private:
  Controls controls_;
  std::function<IniFile()> settings_;
  bool ready_ = false;
};

}  // namespace kvelt::app
