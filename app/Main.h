#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/ProgramOptions.h"
#include "app/pages/CounterLink.h"
#include "app/pages/OutputRowControls.h"
#include "app/pages/SettingsFile.h"
#include "app/widgets/ButtonGlyphs.h"
#include "app/widgets/NamedObjectRegistry.h"
#include "i18n/TLangTable.h"
#include "measure/ChannelReading.h"
#include "measure/ReportDispatcher.h"
#include "measure/ReportHandlers.h"
#include "protocol/OutputsConfig.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QChart;
class QLabel;
class QChartView;
class QLineSeries;
class QValueAxis;
class TBitBtn;
class TLangCombo;
class TReadoutEdit;
class TSaveDialog;

namespace kvelt::hid {
class CounterSession;
struct SessionDevice;
class THidDevice;
}  // namespace kvelt::hid

namespace kvelt::app {
class ChartPage;
class ChartTabSwitch;
class ConfigurationPage;
class DeviceStatusPage;
class DisplayRatePacer;
class LanguagePage;
class ProgramSettingsPage;
class ReadoutsPage;
class OutputIndicators;
class RecordingPage;
class RecordingProgress;
class StartUpSequence;
}  // namespace kvelt::app

namespace kvelt {
class LanguageApplier;
}  // namespace kvelt

// The program's main window: its controls (MainLayout.cpp) and one handler per user event, each
// forwarding to the page that owns the behaviour (app/pages/). Handlers take the control that
// fired; the ones shared by four like controls read the channel from the last character of the
// sender's object name. The controls are reached from outside by their object names
// (FindNamedObject, Control) or through the pages.
class TFMain : public QMainWindow, public kvelt::ReportHandlers {
  Q_OBJECT

 public:
  static constexpr int kOutputCount = 5;
  static constexpr int kSeriesCount = 13;

  explicit TFMain(const kvelt::app::ProgramOptions& options = {}, QWidget* parent = nullptr);
  ~TFMain() override;

  TFMain(const TFMain&) = delete;
  TFMain& operator=(const TFMain&) = delete;

  // --- Handlers (each connected to its controls) -------------------------------------------
  // Start-up and shutdown.
  void FormCreate(QObject* Sender);
  void FormClose(QObject* Sender);
  void FormClick(QObject* Sender);
  // Device discovery.
  bool HidDeviceController1Enumerate(const kvelt::hid::SessionDevice& HidDev, int Idx);
  void HidDeviceController1DeviceChange(QObject* Sender);
  // Encoder information boxes.
  void BitBtn3Click(QObject* Sender);
  void BitBtn4Click(QObject* Sender);
  void BitBtn5Click(QObject* Sender);
  void BitBtn6Click(QObject* Sender);
  // Device commands.
  void button_clear0Click(QObject* Sender);
  void SpeedButton2Click(QObject* Sender);
  void BitBtn8Click(QObject* Sender);
  void BitBtn9Click(QObject* Sender);
  // Recording.
  void SaveButtonClick(QObject* Sender);
  void SpeedButton1Click(QObject* Sender);
  // Chart.
  void SaveChartButtonClick(QObject* Sender);
  void ClearButtonClick(QObject* Sender);
  void PlayButtonClick(QObject* Sender);
  void ChartWindowListChange(QObject* Sender);
  void ChartPauseBoxClick(QObject* Sender);
  void ChartAutoScaleBoxClick(QObject* Sender);
  void ExportChartButtonClick(QObject* Sender);
  void show_chartClick(QObject* Sender);
  // Encoder parameters.
  void button_get_res0Click(QObject* Sender);
  void button_set_res0Click(QObject* Sender);
  void button_get_coeff0Click(QObject* Sender);
  void button_set_coeff0Click(QObject* Sender);
  void button_get_zero0Click(QObject* Sender);
  void button_set_zero0Click(QObject* Sender);
  void edit_res0Change(QObject* Sender);
  // Transistor outputs.
  void out1_AClick(QObject* Sender);
  void out2_AClick(QObject* Sender);
  void out3_AClick(QObject* Sender);
  void out4_AClick(QObject* Sender);
  void out5_AClick(QObject* Sender);
  void out1_TChange(QObject* Sender);
  void out2_TChange(QObject* Sender);
  void out3_TChange(QObject* Sender);
  void out4_TChange(QObject* Sender);
  void out5_TChange(QObject* Sender);
  void BitBtn2Click(QObject* Sender);
  void BitBtn1Click(QObject* Sender);
  // Display options, about box, language.
  void divChange(QObject* Sender);
  void BitBtn7Click(QObject* Sender);
  void LangCombo1Change(QObject* Sender);

  // --- Device link --------------------------------------------------------------------------
  // Data handler of the counter's device: every inbound report (Data = the bytes after the
  // report id, code first). Main thread only.
  void HidDataReceived(kvelt::hid::THidDevice* HidDev, quint8 ReportID, const quint8* Data, quint16 Size);
  // Sends report id 1, code, payload to the counter; nothing without one.
  void SendReport(quint8 code, const void* payload, quint32 count);

  // --- Dispatcher call-outs (ReportHandlers) ----------------------------------------------------
  int UnitSelection() const override;
  void RefreshReadouts(int channel) override;
  bool ChartRunning() const override;
  void AddChannelChartPoints(int channel) override;
  void ChartTimeStep() override;
  bool RecordingTick() override;
  void AddOutputChartPoints(std::uint8_t outputState) override;
  void OnResolutionSet() override;
  void OnCoefficientSet() override;
  void OnPositionCleared() override;
  void OnOutputsFirstWritten() override;
  void OnOutputsFirstRead(const kvelt::OutputsFirstHalf& half) override;
  void OnModbusAddressSet() override;
  void OnGateTimeSet() override;
  void OnModbusBaudRateSet() override;
  void OnOutputsSecondWritten() override;
  void OnOutputsSecondRead(const kvelt::OutputsSecondHalf& half) override;
  void OnResolutionRead(const kvelt::ResolutionReply& reply) override;
  void OnCoefficientRead(const kvelt::CoefficientReply& reply) override;
  void OnZeroMarkerSet() override;
  void OnZeroMarkerRead(const kvelt::ZeroMarkerReply& reply) override;

  // --- Services for handlers and tests ----------------------------------------------------------
  const kvelt::app::ProgramOptions& Options() const { return options_; }
  kvelt::TLangTable& Lang() { return lang_; }
  const kvelt::TLangTable& Lang() const { return lang_; }
  // The text of a message key (IDS_n) in the active language.
  QString LangText(std::string_view key) const;
  // Activates language n (1 Polski, 2 English) and applies the table; nothing when n is active;
  // kvelt::ELanguageError when n is not a language.
  void ActivateLanguage(int n);

  QString StatusPanelText(int panel) const;
  // Puts a text of no message key into a panel; a language change leaves it as it is.
  void SetStatusPanelText(int panel, const QString& text);
  // The same, and repaints the status bar at once.
  void SetStatusPanelTextAndRepaint(int panel, const QString& text);
  // Shows the text of a message key in a panel and remembers the key, so that a language
  // change shows the same message in the new language.
  void ShowStatusMessage(int panel, std::string_view key);
  // The logic rule of output row k (1..5): C and M shown exactly when T is not at "---".
  void ApplyOutputLogicRule(int k);

  // A named object of the window: its own controls, and objects outside the widget tree
  // (the chart's series) registered by name.
  QObject* FindNamedObject(const QString& name) const;
  template <typename T>
  T* Control(const char* name) const {
    return qobject_cast<T*>(FindNamedObject(QString::fromLatin1(name)));
  }

  // --- Run-time state ---------------------------------------------------------------------------
  // The device list's and status bar's logic (app/pages/DeviceStatusPage.h).
  kvelt::app::DeviceStatusPage& DeviceStatusLogic() { return *statusPage_; }
  // The read-outs' and display options' logic (app/pages/ReadoutsPage.h).
  kvelt::app::ReadoutsPage& ReadoutsLogic() { return *readoutsPage_; }
  // The configuration page's logic (app/pages/ConfigurationPage.h).
  kvelt::app::ConfigurationPage& ConfigurationLogic() { return *configPage_; }
  // The settings binding (app/pages/ProgramSettingsPage.h).
  kvelt::app::ProgramSettingsPage& SettingsLogic() { return *settingsPage_; }
  // The recording's logic (app/pages/RecordingPage.h).
  kvelt::app::RecordingPage& RecordingLogic() { return *recordingPage_; }
  // The chart page's logic (app/pages/ChartPage.h).
  kvelt::app::ChartPage& ChartLogic() { return *chartPage_; }
  // The chart tab's switch (app/pages/ChartTabSwitch.h).
  kvelt::app::ChartTabSwitch& ChartTabLogic() { return *chartTab_; }
  // The counter session: the devices listed, the counter, its lock and the framed write; none
  // before the window is built and after it ends.
  kvelt::hid::CounterSession* Session() const { return link_.Session(); }
  // The latest reading of every channel.
  const kvelt::ChannelReadingArray& Readings() const { return readings_; }
  // The path of config.ini, set at start-up.
  const QString& IniPath() const { return settingsFile_.Path(); }
  void SetIniPath(const QString& path) { settingsFile_.SetPath(path); }
  // The device chosen as the counter (with or without access); none while there is none.
  kvelt::hid::THidDevice* CurrentDevice() const { return link_.CounterDevice(); }
  // Ends the session: every reader stops before any device goes; the destructor calls it first.
  void DestroyHidDeviceController();
  // What keeps the counter from the window (the access hint, or the program that holds it) in
  // the active language; empty while there is nothing.
  QString CurrentAccessHint() const;
  // Shows the current hint in status panel 0 and as the tooltip of panels 0 and 1.
  void ShowAccessHint();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Layout (MainLayout.cpp).
  void BuildWindow();
  QWidget* BuildReadoutsPage();
  QWidget* BuildChartPage();
  QWidget* BuildConfigurationPage();
  QWidget* BuildProgramSettingsPage();
  void BuildStatusBar();
  int ConnectionPanelWidth() const;
  void BuildDialogs();
  // The pages over the controls built (Main.cpp).
  void BuildPages();
  void ConnectHandlers();
  void RegisterNamedObject(QObject* object);
  // Gives a new object its name and registers it; returns it.
  template <typename Object>
  Object* Named(Object* object, const char* name);

  // Runs a handler for a control's signal inside the error guard.
  template <typename Sender, typename Signal>
  void Bind(Sender* sender, Signal signal, void (TFMain::*handler)(QObject*));

  // Opens the counter session once FormCreate has run (MainDevice.cpp).
  void CreateHidDeviceController();

  // --- Controls -------------------------------------------------------------------------------------
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;  // "Wykres", its tab shown only on the user's request (show_chart)
  QWidget* TabSheet2 = nullptr;  // "Wskaźnik"
  QWidget* TabSheet3 = nullptr;  // "Konfiguracja"
  QWidget* TabSheet4 = nullptr;  // "Ustawienia programu"

  // "Wskaźnik": index = channel 0..3.
  QGroupBox* BoxPos = nullptr;
  QGroupBox* BoxPred = nullptr;
  std::array<TReadoutEdit*, 4> PositionReadouts{};  // Edit1, Edit4, Edit7, Edit10
  std::array<TReadoutEdit*, 4> SpeedReadouts{};     // Edit2, Edit5, Edit8, Edit11
  // Paces the read-outs' repaints to the display rate.
  kvelt::app::DisplayRatePacer* ReadoutPacer = nullptr;
  std::array<TBitBtn*, 4> InfoButtons{};  // BitBtn3..BitBtn6
  std::array<TBitBtn*, 4> button_clear{};
  TBitBtn* SaveButton = nullptr;

  // "Wykres".
  QChartView* Chart1 = nullptr;
  QChart* Chart = nullptr;
  std::array<QLineSeries*, kSeriesCount> Series{};  // Series[n - 1] = SeriesN
  QValueAxis* ChartBottomAxis = nullptr;            // time, "Czas [s]"
  QValueAxis* ChartLeftAxis = nullptr;
  QFrame* Panel1 = nullptr;
  TBitBtn* SaveChartButton = nullptr;
  TBitBtn* ClearButton = nullptr;
  TBitBtn* PlayButton = nullptr;
  QComboBox* ChartWindowList = nullptr;  // the time window
  QCheckBox* ChartPauseBox = nullptr;
  QCheckBox* ChartAutoScaleBox = nullptr;
  TBitBtn* ExportChartButton = nullptr;

  // "Konfiguracja": index = channel 0..3.
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
  std::array<TOutputRowControls, kOutputCount> OutputRows{};  // OutputRows[k - 1] = row k
  QGroupBox* BoxOutputs = nullptr;                            // the outputs' lamps on "Wskaźnik"
  std::array<QLabel*, kOutputCount> OutputLamps{};            // OutputLamp1 .. OutputLamp5
  QLabel* RecordingProgressLabel = nullptr;                   // "RecordingProgress"
  TBitBtn* BitBtn1 = nullptr;                                 // read the outputs
  TBitBtn* BitBtn2 = nullptr;                                 // write the outputs

  // "Ustawienia programu".
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
  QCheckBox* show_chart = nullptr;
  QListWidget* ListBox1 = nullptr;
  QComboBox* mod_adr = nullptr;
  QComboBox* mod_br = nullptr;
  TBitBtn* BitBtn7 = nullptr;  // about box
  TBitBtn* BitBtn8 = nullptr;  // MODBUS address
  TBitBtn* BitBtn9 = nullptr;  // MODBUS baud rate
  TLangCombo* LangCombo1 = nullptr;

  QStatusBar* StatusBar = nullptr;
  std::array<QLabel*, 2> StatusPanels{};

  // Non-visual components.
  TSaveDialog* SaveDialog = nullptr;
  TSaveDialog* SaveDialogBitmap = nullptr;
  TSaveDialog* SaveDialogExport = nullptr;  // the chart as PNG, SVG or CSV

  // --- State and pages ---------------------------------------------------------------------------
  kvelt::app::ProgramOptions options_;
  kvelt::ChannelReadingArray readings_{};
  kvelt::app::SettingsFile settingsFile_;
  kvelt::app::CounterLink link_;
  kvelt::TLangTable lang_;
  kvelt::ReportDispatcher dispatcher_;
  kvelt::app::ButtonGlyphs glyphs_;
  kvelt::app::NamedObjectRegistry namedObjects_;
  std::unique_ptr<kvelt::LanguageApplier> applier_;
  std::unique_ptr<kvelt::app::LanguagePage> languagePage_;
  std::unique_ptr<kvelt::app::ProgramSettingsPage> settingsPage_;
  std::unique_ptr<kvelt::app::DeviceStatusPage> statusPage_;
  std::unique_ptr<kvelt::app::ChartPage> chartPage_;
  std::unique_ptr<kvelt::app::ChartTabSwitch> chartTab_;
  std::unique_ptr<kvelt::app::ConfigurationPage> configPage_;
  std::unique_ptr<kvelt::app::ReadoutsPage> readoutsPage_;
  std::unique_ptr<kvelt::app::RecordingPage> recordingPage_;
  std::unique_ptr<kvelt::app::OutputIndicators> outputIndicators_;
  std::unique_ptr<kvelt::app::RecordingProgress> recordingProgress_;
  std::unique_ptr<kvelt::app::StartUpSequence> startUp_;
};

// The one main window, assigned as soon as its construction begins.
extern TFMain* FMain;
