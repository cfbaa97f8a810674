#include "app/pages/ChartTabSwitch.h"

#include <QCheckBox>
#include <QTabWidget>
#include <utility>

#include "settings/IniSession.h"
#include "settings/SettingsKeys.h"

namespace kvelt::app {

ChartTabSwitch::ChartTabSwitch(const Controls& controls, std::function<IniFile()> settings)
    : controls_(controls), settings_(std::move(settings)) {}

void ChartTabSwitch::Read(const IniSession& settings) {
  controls_.ShowChart->setChecked(
      settings.ReadBool(SettingsKeys::Section, SettingsKeys::ShowChart, SettingsDefaults::ShowChart));
}

void ChartTabSwitch::Click() {
  const bool show = controls_.ShowChart->isChecked();
  QTabWidget& tabs = *controls_.Tabs;
  if (!show && tabs.currentWidget() == controls_.ChartPage) {
    tabs.setCurrentWidget(controls_.FirstPage);
  }
  tabs.setTabVisible(tabs.indexOf(controls_.ChartPage), show);
  controls_.ChartView->setVisible(show);
  if (!ready_) {
    return;
  }
  IniSession settings(settings_());
  settings.WriteBool(SettingsKeys::Section, SettingsKeys::ShowChart, show);
  settings.Save();
}

}  // namespace kvelt::app
