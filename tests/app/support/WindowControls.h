#pragma once

#include <array>

#include "app/pages/OutputRowControls.h"
#include "app/widgets/TReadoutEdit.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QTabWidget;
class QWidget;
class QToolButton;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;
class TBitBtn;
class TFMain;
class TLangCombo;
class TSaveDialog;

namespace kvelt::app {
class DisplayRatePacer;
}  // namespace kvelt::app

namespace kvelt::apptest {

// The window's controls found by their object names (the names its users and the translation
// table know), under those names; arrays are indexed by channel 0..3 or output row 1..5 - 1.
struct WindowControls {
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  QWidget* TabSheet4 = nullptr;

  QGroupBox* BoxPos = nullptr;
  QGroupBox* BoxPred = nullptr;
  std::array<TReadoutEdit*, 4> PositionReadouts{};  // Edit1, Edit4, Edit7, Edit10
  std::array<TReadoutEdit*, 4> SpeedReadouts{};     // Edit2, Edit5, Edit8, Edit11
  kvelt::app::DisplayRatePacer* ReadoutPacer = nullptr;
  std::array<TBitBtn*, 4> InfoButtons{};  // BitBtn3..BitBtn6
  std::array<TBitBtn*, 4> button_clear{};
  TBitBtn* SaveButton = nullptr;

  QChartView* Chart1 = nullptr;
  QChart* Chart = nullptr;
  std::array<QLineSeries*, 13> Series{};  // Series[n - 1] = SeriesN
  QValueAxis* ChartBottomAxis = nullptr;
  QValueAxis* ChartLeftAxis = nullptr;
  QFrame* Panel1 = nullptr;
  TBitBtn* SaveChartButton = nullptr;
  TBitBtn* ClearButton = nullptr;
  TBitBtn* PlayButton = nullptr;

  QGroupBox* GroupBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QGroupBox* GroupBox9 = nullptr;
  std::array<QLineEdit*, 4> edit_res{};
  std::array<QLineEdit*, 4> edit_coeff{};
  std::array<QComboBox*, 4> edit_zero{};
  std::array<QToolButton*, 4> button_get_res{};
  std::array<QToolButton*, 4> button_set_res{};
  std::array<QToolButton*, 4> button_get_coeff{};
  std::array<QToolButton*, 4> button_set_coeff{};
  std::array<QToolButton*, 4> button_get_zero{};
  std::array<QToolButton*, 4> button_set_zero{};
  QGroupBox* GroupBox8 = nullptr;
  QComboBox* TimeList = nullptr;
  QToolButton* SpeedButton2 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  std::array<TOutputRowControls, 5> OutputRows{};
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;

  QGroupBox* GroupBox6 = nullptr;
  QCheckBox* auto_save = nullptr;
  QComboBox* ComboBox_SavePeriod = nullptr;
  QCheckBox* save_date = nullptr;
  QCheckBox* save_time = nullptr;
  std::array<QCheckBox*, 4> save_pos{};  // save_pos1..save_pos4
  std::array<QCheckBox*, 4> save_ver{};  // save_ver1..save_ver4
  QLineEdit* save_file = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QComboBox* DivList = nullptr;   // `div`
  QComboBox* UnitList = nullptr;  // `unit`
  QListWidget* ListBox1 = nullptr;
  QComboBox* mod_adr = nullptr;
  QComboBox* mod_br = nullptr;
  TBitBtn* BitBtn7 = nullptr;
  TBitBtn* BitBtn8 = nullptr;
  TBitBtn* BitBtn9 = nullptr;
  TLangCombo* LangCombo1 = nullptr;

  QStatusBar* StatusBar = nullptr;
  std::array<QLabel*, 2> StatusPanels{};  // StatusPanel0, StatusPanel1

  TSaveDialog* SaveDialog = nullptr;
  TSaveDialog* SaveDialogBitmap = nullptr;
};

// Looks the controls up afresh in the window as it is now; a control that is missing or of
// another type ends the test program with its name.
WindowControls Ui(const TFMain& window);

}  // namespace kvelt::apptest
