#pragma once

#include <functional>

#include "settings/IniFile.h"

class QCheckBox;
class QTabWidget;
class QWidget;

namespace kvelt {
class IniSession;
}  // namespace kvelt

namespace kvelt::app {

// Shows the chart page as a tab of the notebook while the user asks for it (the check box
// show_chart) and hides it again. The choice is kept in config.ini under ShowChart, written only
// when the user changes it, so a file the user never changed it in does not have the key.
class ChartTabSwitch {
 public:
  struct Controls {
    QTabWidget* Tabs = nullptr;      // PageControl1
    QWidget* ChartPage = nullptr;    // TabSheet1
    QWidget* ChartView = nullptr;    // Chart1, hidden with its page
    QWidget* FirstPage = nullptr;    // TabSheet2, current when the chart page goes
    QCheckBox* ShowChart = nullptr;  // show_chart
  };
  // `settings` gives the settings file, opened afresh.
  ChartTabSwitch(const Controls& controls, std::function<IniFile()> settings);

  // Ticks the check box as stored (its handler then shows the page).
  void Read(const IniSession& settings);
  // Whether a change of the user is stored (the start-up read succeeded).
  void SetReady(bool ready) { ready_ = ready; }
  // show_chart: the page shown or hidden as the box says, and the choice stored.
  void Click();

 private:
  Controls controls_;
  std::function<IniFile()> settings_;
  bool ready_ = false;
};

}  // namespace kvelt::app
