#include "app/Main.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtCharts/QChartView>

#include "app/HandlerGuard.h"
#include "app/pages/AboutBox.h"
#include "app/pages/ChartPage.h"
#include "app/pages/ChartTabSwitch.h"
#include "app/pages/ConfigurationPage.h"
#include "app/pages/DeviceStatusPage.h"
#include "app/pages/LanguagePage.h"
#include "app/pages/OutputIndicators.h"
#include "app/pages/PageText.h"
#include "app/pages/ProgramSettingsPage.h"
#include "app/pages/ReadoutsPage.h"
#include "app/pages/RecordingPage.h"
#include "app/pages/RecordingProgress.h"
#include "app/pages/SettingsErrorText.h"
#include "app/pages/StartUpSequence.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TReadoutEdit.h"
#include "config/OutputRow.h"
#include "device/HidControllerClass.h"
#include "device/qt/CounterSession.h"
#include "i18n/qt/LanguageApplier.h"
#include "i18n/qt/TLangCombo.h"
#include "settings/CheckBoxSettings.h"

TFMain* FMain = nullptr;

namespace {

const QString kClassName = QStringLiteral("TFMain");

}  // namespace

TFMain::TFMain(const kvelt::app::ProgramOptions& options, QWidget* parent)
    : QMainWindow(parent),
      options_(options),
      lang_(kvelt::TranslationTable::Parse(kvelt::EmbeddedTranslationData()), kClassName.toStdString()),
      dispatcher_(readings_, *this),
      glyphs_(kvelt::app::ButtonGlyphs::Draw()),
      namedObjects_(*this, kClassName) {
  FMain = this;
  // Errors that escape a handler, start-up's included, are worded in the window's language.
  kvelt::app::SetEscapedErrorTranslator(
      [this](const std::exception& error) { return kvelt::app::SettingsErrorText(lang_, error); });
  setObjectName(QStringLiteral("FMain"));
  BuildWindow();
  BuildPages();
  ConnectHandlers();
  kvelt::app::RunGuarded([this] { FormCreate(this); });
  kvelt::app::RunGuarded([this] { CreateHidDeviceController(); });
}

void TFMain::BuildPages() {
  const auto settings = [this] { return settingsFile_.Open(); };
  const auto decimals = [this] { return readoutsPage_->Decimals(); };
  statusPage_ = std::make_unique<kvelt::app::DeviceStatusPage>(
      kvelt::app::DeviceStatusPage::Controls{StatusBar, StatusPanels, ListBox1, this}, lang_,
      [this] { return static_cast<const kvelt::hid::CounterSession*>(link_.Session()); },
      kvelt::app::DeviceStatusPage::Events{
          [this] {
            recordingPage_->Restart();
            configPage_->Restart();
          },
          [this](bool connected, const QString& whatToDo, const QString& why) {
            readoutsPage_->ShowCounterState(connected, whatToDo, why);
            outputIndicators_->SetStale(!connected);
          }});
  chartPage_ = std::make_unique<kvelt::app::ChartPage>(
      kvelt::app::ChartPage::Controls{
          Chart1, Chart, kvelt::ChartParts{Chart1, Series, ChartBottomAxis, ChartLeftAxis}, PlayButton,
          SaveDialogBitmap, ChartWindowList, ChartPauseBox, ChartAutoScaleBox, SaveDialogExport},
      readings_, lang_, [this] { return PageControl1->currentWidget(); }, decimals, this);
  chartTab_ = std::make_unique<kvelt::app::ChartTabSwitch>(
      kvelt::app::ChartTabSwitch::Controls{PageControl1, TabSheet1, Chart1, TabSheet2, show_chart}, settings);
  readoutsPage_ = std::make_unique<kvelt::app::ReadoutsPage>(
      kvelt::app::ReadoutsPage::Controls{PositionReadouts, SpeedReadouts, DivList, UnitList, BoxPred, BoxPos,
                                         GroupBox1},
      readings_, lang_, settings);
  kvelt::app::ConfigurationPage::Controls config{edit_res, edit_coeff, edit_zero, TimeList,
                                                 mod_adr,  mod_br,     UnitList,  OutputRows};
  configPage_ = std::make_unique<kvelt::app::ConfigurationPage>(config, readings_, lang_, link_, *statusPage_,
                                                                decimals);
  recordingPage_ = std::make_unique<kvelt::app::RecordingPage>(
      kvelt::app::RecordingPage::Controls{SaveButton, ComboBox_SavePeriod, save_file, save_date, save_time,
                                          save_pos, save_ver, SaveDialog},
      readings_, lang_, *statusPage_, [this](const QString& text) { statusPage_->SetPanelText(0, text); },
      decimals, settings);
  outputIndicators_ = std::make_unique<kvelt::app::OutputIndicators>(OutputLamps, OutputRows, lang_);
  recordingProgress_ =
      std::make_unique<kvelt::app::RecordingProgress>(RecordingProgressLabel, *recordingPage_, lang_);
  kvelt::app::ProgramSettingsPage::Controls stored{this};
  for (std::size_t n = 0; n < stored.CheckBoxes.size(); ++n) {
    stored.CheckBoxes[n] = Control<QCheckBox>(kvelt::CheckBoxSettings()[n].Control.data());
  }
  stored.File = save_file;
  stored.Decimals = DivList;
  stored.Unit = UnitList;
  stored.Language = LangCombo1;
  stored.Period = ComboBox_SavePeriod;
  settingsPage_ = std::make_unique<kvelt::app::ProgramSettingsPage>(stored, settings);
  applier_ = std::make_unique<kvelt::LanguageApplier>(
      this, kClassName, [this](const QString& name) { return FindNamedObject(name); },
      QStringList{QStringLiteral("save_file")});
  languagePage_ = std::make_unique<kvelt::app::LanguagePage>(
      kvelt::app::LanguagePage::Controls{LangCombo1, StatusBar}, lang_, *applier_, [this] {
        readoutsPage_->ApplyUnitCaptions();
        recordingPage_->ApplyCaption();
        chartPage_->ApplyCaption();
        outputIndicators_->ApplyLanguage();
        recordingProgress_->Update();
        statusPage_->Refresh();
      });
  startUp_ = std::make_unique<kvelt::app::StartUpSequence>(
      kvelt::app::StartUpSequence::Pages{*settingsPage_, *chartPage_, *chartTab_, *languagePage_,
                                         *recordingPage_, *readoutsPage_, *configPage_},
      kvelt::app::StartUpSequence::Controls{PageControl1, TabSheet2, auto_save}, settingsFile_,
      options_.ConfigDir);
}

TFMain::~TFMain() {
  // The device layer goes first: no reader may hand a report to a half-destroyed window.
  DestroyHidDeviceController();
  if (FMain == this) {
    kvelt::app::SetEscapedErrorTranslator({});
    FMain = nullptr;
  }
}

template <typename Sender, typename Signal>
void TFMain::Bind(Sender* sender, Signal signal, void (TFMain::*handler)(QObject*)) {
  connect(sender, signal, this,
          [this, sender, handler] { kvelt::app::RunGuarded([&] { (this->*handler)(sender); }); });
}

void TFMain::ConnectHandlers() {
  // Check boxes run their handler on every change of state, made by the user or by code;
  // drop-down lists only on a choice of the user; edit boxes on every change of text.
  for (QCheckBox* box : {auto_save, save_date, save_time}) {
    Bind(box, &QCheckBox::stateChanged, &TFMain::FormClick);
  }
  for (int i = 0; i < 4; ++i) {
    Bind(save_pos[i], &QCheckBox::stateChanged, &TFMain::FormClick);
  }
  for (int i = 0; i < 4; ++i) {
    Bind(save_ver[i], &QCheckBox::stateChanged, &TFMain::FormClick);
  }
  Bind(InfoButtons[0], &QAbstractButton::clicked, &TFMain::BitBtn3Click);
  Bind(InfoButtons[1], &QAbstractButton::clicked, &TFMain::BitBtn4Click);
  Bind(InfoButtons[2], &QAbstractButton::clicked, &TFMain::BitBtn5Click);
  Bind(InfoButtons[3], &QAbstractButton::clicked, &TFMain::BitBtn6Click);
  for (int c = 0; c < 4; ++c) {
    Bind(button_clear[c], &QAbstractButton::clicked, &TFMain::button_clear0Click);
    Bind(button_get_res[c], &QAbstractButton::clicked, &TFMain::button_get_res0Click);
    Bind(button_set_res[c], &QAbstractButton::clicked, &TFMain::button_set_res0Click);
    Bind(button_get_coeff[c], &QAbstractButton::clicked, &TFMain::button_get_coeff0Click);
    Bind(button_set_coeff[c], &QAbstractButton::clicked, &TFMain::button_set_coeff0Click);
    Bind(button_get_zero[c], &QAbstractButton::clicked, &TFMain::button_get_zero0Click);
    Bind(button_set_zero[c], &QAbstractButton::clicked, &TFMain::button_set_zero0Click);
    Bind(edit_res[c], &QLineEdit::textChanged, &TFMain::edit_res0Change);
    Bind(edit_coeff[c], &QLineEdit::textChanged, &TFMain::edit_res0Change);
  }
  Bind(SaveButton, &QAbstractButton::clicked, &TFMain::SaveButtonClick);
  Bind(SaveChartButton, &QAbstractButton::clicked, &TFMain::SaveChartButtonClick);
  Bind(ClearButton, &QAbstractButton::clicked, &TFMain::ClearButtonClick);
  Bind(PlayButton, &QAbstractButton::clicked, &TFMain::PlayButtonClick);
  Bind(ChartWindowList, &QComboBox::activated, &TFMain::ChartWindowListChange);
  Bind(ChartPauseBox, &QCheckBox::toggled, &TFMain::ChartPauseBoxClick);
  Bind(ChartAutoScaleBox, &QCheckBox::toggled, &TFMain::ChartAutoScaleBoxClick);
  Bind(ExportChartButton, &QAbstractButton::clicked, &TFMain::ExportChartButtonClick);
  Bind(show_chart, &QCheckBox::toggled, &TFMain::show_chartClick);
  Bind(SpeedButton2, &QAbstractButton::clicked, &TFMain::SpeedButton2Click);

  using RowHandler = void (TFMain::*)(QObject*);
  const std::array<RowHandler, kOutputCount> enableHandlers = {&TFMain::out1_AClick, &TFMain::out2_AClick,
                                                               &TFMain::out3_AClick, &TFMain::out4_AClick,
                                                               &TFMain::out5_AClick};
  const std::array<RowHandler, kOutputCount> logicHandlers = {&TFMain::out1_TChange, &TFMain::out2_TChange,
                                                              &TFMain::out3_TChange, &TFMain::out4_TChange,
                                                              &TFMain::out5_TChange};
  for (int k = 0; k < kOutputCount; ++k) {
    Bind(OutputRows[k].A, &QCheckBox::stateChanged, enableHandlers[k]);
    Bind(OutputRows[k].T, &QComboBox::activated, logicHandlers[k]);
  }
  for (int k = 0; k < kOutputCount; ++k) {
    Bind(OutputRows[k].N, &QLineEdit::textChanged, &TFMain::edit_res0Change);
  }
  for (int k = 0; k < kOutputCount; ++k) {
    Bind(OutputRows[k].M, &QLineEdit::textChanged, &TFMain::edit_res0Change);
  }
  Bind(BitBtn2, &QAbstractButton::clicked, &TFMain::BitBtn2Click);
  Bind(BitBtn1, &QAbstractButton::clicked, &TFMain::BitBtn1Click);
  Bind(DivList, &QComboBox::activated, &TFMain::divChange);
  Bind(UnitList, &QComboBox::activated, &TFMain::divChange);
  Bind(SpeedButton1, &QAbstractButton::clicked, &TFMain::SpeedButton1Click);
  Bind(BitBtn8, &QAbstractButton::clicked, &TFMain::BitBtn8Click);
  Bind(BitBtn9, &QAbstractButton::clicked, &TFMain::BitBtn9Click);
  Bind(BitBtn7, &QAbstractButton::clicked, &TFMain::BitBtn7Click);
  Bind(LangCombo1, &QComboBox::activated, &TFMain::LangCombo1Change);
  configPage_->ConnectListRefusalReset(this);
  // Enter in a box of the configuration page presses the write button of its row.
  for (int c = 0; c < 4; ++c) {
    connect(edit_res[c], &QLineEdit::returnPressed, button_set_res[c], &QAbstractButton::click);
    connect(edit_coeff[c], &QLineEdit::returnPressed, button_set_coeff[c], &QAbstractButton::click);
  }
  for (const TOutputRowControls& row : OutputRows) {
    connect(row.N, &QLineEdit::returnPressed, BitBtn2, &QAbstractButton::click);
    connect(row.M, &QLineEdit::returnPressed, BitBtn2, &QAbstractButton::click);
  }
}

// --- Read-outs and display options --------------------------------------------------------------

void TFMain::HidDataReceived(kvelt::hid::THidDevice* /*HidDev*/, quint8 /*ReportID*/, const quint8* Data,
                             quint16 Size) {
  dispatcher_.Dispatch(Data, Size);
}

int TFMain::UnitSelection() const { return readoutsPage_->UnitSelection(); }

void TFMain::RefreshReadouts(int channel) {
  recordingPage_->NoteChannelFrame(channel);
  configPage_->NoteChannelFrame(channel);
  readoutsPage_->Refresh(channel);
  if (channel == kvelt::kChannelCount - 1) outputIndicators_->Show(readings_[3].OutputState);
}

void TFMain::divChange(QObject* /*Sender*/) { readoutsPage_->DisplayOptionChanged(); }

// --- About box ----------------------------------------------------------------------------------------

void TFMain::BitBtn7Click(QObject* /*Sender*/) { kvelt::app::AboutBox::Show(lang_); }

// --- Language -------------------------------------------------------------------------------------------

void TFMain::LangCombo1Change(QObject* /*Sender*/) { languagePage_->PickerChanged(); }

void TFMain::ActivateLanguage(int n) { languagePage_->Activate(n); }

QString TFMain::LangText(std::string_view key) const { return kvelt::app::PageText(lang_, key); }

// --- Status bar, named objects ---------------------------------------------------------------------

QString TFMain::StatusPanelText(int panel) const { return statusPage_->PanelText(panel); }

void TFMain::SetStatusPanelText(int panel, const QString& text) { statusPage_->SetPanelText(panel, text); }

void TFMain::SetStatusPanelTextAndRepaint(int panel, const QString& text) {
  statusPage_->SetPanelTextAndRepaint(panel, text);
}

void TFMain::ShowStatusMessage(int panel, std::string_view key) {
  statusPage_->ShowStatusMessage(panel, key);
}

QObject* TFMain::FindNamedObject(const QString& name) const { return namedObjects_.Find(name); }

void TFMain::RegisterNamedObject(QObject* object) { namedObjects_.Register(object); }
