#include "app/pages/StartUpSequence.h"

#include <QCheckBox>
#include <QTabWidget>
#include <utility>

#include "app/pages/ChartPage.h"
#include "app/pages/ChartTabSwitch.h"
#include "app/pages/ConfigurationPage.h"
#include "app/pages/LanguagePage.h"
#include "app/pages/ProgramSettingsPage.h"
#include "app/pages/ReadoutsPage.h"
#include "app/pages/RecordingPage.h"
#include "app/pages/SettingsFile.h"
#include "settings/FreshSettingsFile.h"
#include "settings/IniSession.h"
#include "settings/SettingsWriteError.h"
#include "settings/qt/SettingsLocation.h"

namespace kvelt::app {

StartUpSequence::StartUpSequence(const Pages& pages, const Controls& controls, SettingsFile& file,
                                 QString configDir)
    : pages_(pages), controls_(controls), file_(file), configDir_(std::move(configDir)) {}

void StartUpSequence::Run() {
  pages_.Settings.SetReady(false);
  pages_.ChartTab.SetReady(false);
  pages_.Chart.SetRunning(false);
  controls_.Tabs->setCurrentWidget(controls_.FirstPage);
  file_.SetPath(SettingsLocation::IniPath(configDir_));
  pages_.Language.PlacePicker();
  // One reading of the file serves the fresh-file check and every read below.
  IniSession settings(file_.Open());
  if (!settings.FilePresent()) {
    WriteFreshSettingsFile(settings);
  }
  pages_.Settings.Read(settings);
  pages_.ChartTab.Read(settings);
  if (controls_.AutoSave->isChecked()) {
    pages_.Recording.StartAtStartUp();
  }
  pages_.Readouts.ApplyUnitCaptions();
  for (int k = 1; k <= ConfigurationPage::kOutputCount; ++k) {
    pages_.Configuration.ApplyLogicRule(k);
  }
  const bool readable = !settings.Unreadable();
  pages_.Settings.SetReady(readable);
  pages_.ChartTab.SetReady(readable);
  pages_.Language.PickerChanged();
  if (!readable) {
    throw SettingsWriteError(settings.Path());
  }
}

}  // namespace kvelt::app
