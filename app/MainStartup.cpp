// Start-up and shutdown of the main window: loading and storing config.ini.

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <algorithm>

#include "app/HandlerGuard.h"
#include "app/Main.h"
#include "app/SettingsLocation.h"
#include "app/TBitBtn.h"
#include "app/TLangCombo.h"
#include "app/WindowPlacement.h"
#include "settings/FreshSettingsFile.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsWriteError.h"

namespace {

namespace Keys = kvelt::SettingsKeys;
namespace Defaults = kvelt::SettingsDefaults;

// A stored index outside its list selects the list's default instead of leaving no selection.
int IndexOrDefault(int stored, int count, int fallback) { return stored >= 0 && stored < count ? stored : fallback; }

constexpr int kPickerTop = 2;
constexpr int kPickerRightOffset = 115;
constexpr int kPolishIndex = 0;

}  // namespace

void TFMain::FormCreate(QObject* /*Sender*/) {
  SettingsReady = 0;
  ChartRunning_ = false;
  PageControl1->setCurrentWidget(TabSheet2);
  IniPath = kvelt::app::SettingsLocation::IniPath(Options_.ConfigDir);
  PlaceLanguagePicker();
  // One reading of the file serves the fresh-file check and every read below.
  kvelt::IniSession settings(Settings());
  if (!settings.FilePresent()) {
    kvelt::WriteFreshSettingsFile(settings);
  }
  ReadStoredSettings(settings);
  StartRecordingAtStartUp();
  ApplyUnitCaptions(UnitList->currentIndex());
  out1_TChange(OutputRows[0].T);
  out2_TChange(OutputRows[1].T);
  out3_TChange(OutputRows[2].T);
  out4_TChange(OutputRows[3].T);
  out5_TChange(OutputRows[4].T);
  // Something at IniPath that is not a readable settings file (a FIFO, a device, a file over
  // the size limit) leaves the window on defaults and is never written over; it is told once.
  const bool readable = !settings.Unreadable();
  SettingsReady = readable ? kSettingsReady : 0;
  ActivateLanguage(LangCombo1->currentIndex() + 1);
  if (!readable) {
    throw kvelt::SettingsWriteError(settings.Path());
  }
}

void TFMain::PlaceLanguagePicker() {
  if (LangCombo1->parentWidget() != StatusBar) {
    LangCombo1->setParent(StatusBar);
    LangCombo1->resize(LangCombo1->width(), LangCombo1->sizeHint().height());
    LangCombo1->show();
  }
  LangCombo1->move(StatusBar->width() - kPickerRightOffset, kPickerTop);
}

void TFMain::ReadStoredSettings(const kvelt::IniSession& settings) {
  const auto section = Keys::Section;
  auto_save->setChecked(settings.ReadBool(section, Keys::AutoSave, Defaults::AutoSave));
  save_date->setChecked(settings.ReadBool(section, Keys::SaveDate, Defaults::SaveColumn));
  save_time->setChecked(settings.ReadBool(section, Keys::SaveTime, Defaults::SaveColumn));
  for (int n = 1; n <= 4; ++n) {
    save_pos[static_cast<std::size_t>(n - 1)]->setChecked(
        settings.ReadBool(section, Keys::SavePos(n), Defaults::SaveColumn));
  }
  for (int n = 1; n <= 4; ++n) {
    save_ver[static_cast<std::size_t>(n - 1)]->setChecked(
        settings.ReadBool(section, Keys::SaveVer(n), Defaults::SaveColumn));
  }
  save_file->setText(QString::fromStdString(settings.ReadString(section, Keys::SaveFile, Defaults::SaveFile())));
  DivList->setCurrentIndex(
      IndexOrDefault(settings.ReadInteger(section, Keys::Div, Defaults::Div), DivList->count(), Defaults::Div));
  UnitList->setCurrentIndex(
      IndexOrDefault(settings.ReadInteger(section, Keys::Unit, Defaults::Unit), UnitList->count(), Defaults::Unit));
  const int top = settings.ReadInteger(section, Keys::ScreenTop, Defaults::ScreenTop);
  const int left = settings.ReadInteger(section, Keys::ScreenLeft, Defaults::ScreenLeft);
  move(kvelt::app::WindowPlacement::PlaceOnScreens(QPoint(left, top), std::max(width(), minimumWidth())));
  LangCombo1->setCurrentIndex(IndexOrDefault(settings.ReadInteger(section, Keys::Language, Defaults::Language),
                                             LangCombo1->count(), kPolishIndex));
  ComboBox_SavePeriod->setCurrentIndex(
      IndexOrDefault(settings.ReadInteger(section, Keys::SavePeriod, Defaults::SavePeriod),
                     ComboBox_SavePeriod->count(), Defaults::SavePeriod));
}

void TFMain::StartRecordingAtStartUp() {
  if (!auto_save->isChecked()) {
    return;
  }
  Recording = true;
  SaveButton->setText(LangText("IDS_86"));
  ShowStatusMessage(0, "IDS_87");
}

void TFMain::FormClick(QObject* /*Sender*/) {
  if (SettingsReady != kSettingsReady) {
    return;
  }
  kvelt::IniSession settings(Settings());
  const auto section = Keys::Section;
  settings.WriteBool(section, Keys::AutoSave, auto_save->isChecked());
  settings.WriteBool(section, Keys::SaveDate, save_date->isChecked());
  settings.WriteBool(section, Keys::SaveTime, save_time->isChecked());
  for (int n = 1; n <= 4; ++n) {
    settings.WriteBool(section, Keys::SavePos(n), save_pos[static_cast<std::size_t>(n - 1)]->isChecked());
  }
  for (int n = 1; n <= 4; ++n) {
    settings.WriteBool(section, Keys::SaveVer(n), save_ver[static_cast<std::size_t>(n - 1)]->isChecked());
  }
  settings.WriteInteger(section, Keys::SavePeriod, ComboBox_SavePeriod->currentIndex());
  settings.Save();
}

void TFMain::FormClose(QObject* /*Sender*/) {
  kvelt::IniSession settings(Settings());
  const auto section = Keys::Section;
  settings.WriteInteger(section, Keys::ScreenTop, y());
  settings.WriteInteger(section, Keys::ScreenLeft, x());
  settings.WriteInteger(section, Keys::Language, LangCombo1->currentIndex());
  settings.WriteInteger(section, Keys::SavePeriod, ComboBox_SavePeriod->currentIndex());
  settings.Save();
}

void TFMain::closeEvent(QCloseEvent* event) {
  // Closing is never refused, whatever the close handler runs into.
  kvelt::app::RunGuarded([this] { FormClose(this); });
  event->accept();
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::MouseButtonRelease) {
    kvelt::app::RunGuarded([this] { FormClick(this); });
  } else if (watched == StatusBar && event->type() == QEvent::Resize && LangCombo1->parentWidget() == StatusBar) {
    PlaceLanguagePicker();
  }
  return QMainWindow::eventFilter(watched, event);
}
