// Start-up and shutdown of the main window: loading and storing config.ini.

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>

#include "app/HandlerGuard.h"
#include "app/Main.h"
#include "app/pages/ChartPage.h"
#include "app/pages/LanguagePage.h"
#include "app/pages/ProgramSettingsPage.h"
#include "app/pages/RecordingPage.h"
#include "app/widgets/TBitBtn.h"
#include "i18n/qt/TLangCombo.h"
#include "settings/FreshSettingsFile.h"
#include "settings/SettingsWriteError.h"
#include "settings/qt/SettingsLocation.h"

void TFMain::FormCreate(QObject* /*Sender*/) {
  settingsPage_->SetReady(false);
  chartPage_->SetRunning(false);
  PageControl1->setCurrentWidget(TabSheet2);
  iniPath_ = kvelt::SettingsLocation::IniPath(options_.ConfigDir);
  languagePage_->PlacePicker();
  // One reading of the file serves the fresh-file check and every read below.
  kvelt::IniSession settings(Settings());
  if (!settings.FilePresent()) {
    kvelt::WriteFreshSettingsFile(settings);
  }
  settingsPage_->Read(settings);
  if (auto_save->isChecked()) {
    recordingPage_->StartAtStartUp();
  }
  ApplyUnitCaptions(UnitList->currentIndex());
  out1_TChange(OutputRows[0].T);
  out2_TChange(OutputRows[1].T);
  out3_TChange(OutputRows[2].T);
  out4_TChange(OutputRows[3].T);
  out5_TChange(OutputRows[4].T);
  // Something at the settings path that is not a readable settings file (a FIFO, a device, a file over
  // the size limit) leaves the window on defaults and is never written over; it is told once.
  const bool readable = !settings.Unreadable();
  settingsPage_->SetReady(readable);
  ActivateLanguage(LangCombo1->currentIndex() + 1);
  if (!readable) {
    throw kvelt::SettingsWriteError(settings.Path());
  }
}

void TFMain::FormClick(QObject* /*Sender*/) { settingsPage_->StoreChange(); }

void TFMain::FormClose(QObject* /*Sender*/) { settingsPage_->StoreOnClose(); }

void TFMain::closeEvent(QCloseEvent* event) {
  // Closing is never refused, whatever the close handler runs into.
  kvelt::app::RunGuarded([this] { FormClose(this); });
  event->accept();
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::MouseButtonRelease) {
    kvelt::app::RunGuarded([this] { FormClick(this); });
  } else if (watched == StatusBar && event->type() == QEvent::Resize && languagePage_ &&
             languagePage_->PickerInBar()) {
    languagePage_->PlacePicker();
  }
  return QMainWindow::eventFilter(watched, event);
}
