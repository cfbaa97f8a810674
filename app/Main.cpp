#include "app/Main.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStatusBar>
#include <QToolButton>

#include "app/HandlerGuard.h"
#include "app/LanguageApplier.h"
#include "app/MessageBoxes.h"
#include "app/ProgramVersion.h"
#include "app/QtOwnTranslation.h"
#include "app/TBitBtn.h"
#include "app/TLangCombo.h"
#include "app/TReadoutEdit.h"
#include "config/DisplayDecimals.h"
#include "config/OutputRow.h"
#include "device/HidControllerClass.h"
#include "device/qt/CounterSession.h"
#include "measure/FixedPointFormat.h"
#include "measure/qt/LocaleRecordLine.h"
#include "settings/SettingsKeys.h"

TFMain* FMain = nullptr;

namespace {

const QString kClassName = QStringLiteral("TFMain");

}  // namespace

TFMain::TFMain(const kvelt::app::ProgramOptions& options, QWidget* parent)
    : QMainWindow(parent),
      Options_(options),
      Lang1(kvelt::TranslationTable::Parse(kvelt::EmbeddedTranslationData()), kClassName.toStdString()),
      Dispatcher(ChannelReadings, *this),
      Glyphs(kvelt::app::ButtonGlyphs::Draw()) {
  FMain = this;
  Recorder = std::make_unique<kvelt::LineRecorder>([this] { return RecordingTarget(); });
  setObjectName(QStringLiteral("FMain"));
  IniPath.clear();
  BuildWindow();
  ConnectHandlers();
  Applier = std::make_unique<kvelt::app::LanguageApplier>(
      this, kClassName, [this](const QString& name) { return FindNamedObject(name); },
      QStringList{QStringLiteral("save_file")});
  kvelt::app::RunGuarded([this] { FormCreate(this); });
  kvelt::app::RunGuarded([this] { CreateHidDeviceController(); });
}

TFMain::~TFMain() {
  // The device layer goes first: no reader may hand a report to a half-destroyed window.
  DestroyHidDeviceController();
  if (FMain == this) {
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
  ConnectListRefusalReset();
}

// --- Read-outs and display options --------------------------------------------------------------

void TFMain::HidDataReceived(kvelt::hid::THidDevice* /*HidDev*/, quint8 /*ReportID*/, const quint8* Data,
                             quint16 Size) {
  Dispatcher.Dispatch(Data, Size);
}

int TFMain::UnitSelection() const { return UnitList->currentIndex(); }

bool TFMain::ChartRunning() const { return ChartRunning_; }

void TFMain::RefreshReadouts(int channel) {
  if (channel < 0 || channel >= kvelt::kChannelCount) {
    return;
  }
  Recorder->NoteChannelFrame(channel);
  const kvelt::ChannelReading& reading = ChannelReadings[static_cast<std::size_t>(channel)];
  const int decimals = DisplayDecimals();
  const std::string separator = DecimalSeparator();
  if (const auto text = kvelt::FormatFixedPoint(reading.Position, 15, decimals, separator)) {
    PositionReadouts[static_cast<std::size_t>(channel)]->ShowText(QString::fromStdString(*text));
  }
  if (const auto text = kvelt::FormatFixedPoint(reading.Speed, 15, decimals, separator)) {
    SpeedReadouts[static_cast<std::size_t>(channel)]->ShowText(QString::fromStdString(*text));
  }
}

void TFMain::divChange(QObject* /*Sender*/) {
  kvelt::IniSession settings(Settings());
  settings.WriteInteger(kvelt::SettingsKeys::Section, kvelt::SettingsKeys::Div, DivList->currentIndex());
  settings.WriteInteger(kvelt::SettingsKeys::Section, kvelt::SettingsKeys::Unit, UnitList->currentIndex());
  settings.Save();
  ApplyUnitCaptions(UnitList->currentIndex());
}

void TFMain::ApplyUnitCaptions(int unitIndex) {
  struct UnitCaptions {
    const char* Speed;
    const char* Position;
    const char* Resolution;
  };
  static constexpr std::array<UnitCaptions, 4> kCaptions = {{
      {"IDS_88", "IDS_89", "IDS_90"},
      {"IDS_91", "IDS_89", "IDS_90"},
      {"IDS_94", "IDS_95", "IDS_96"},
      {"IDS_97", "IDS_95", "IDS_96"},
  }};
  if (unitIndex < 0 || unitIndex >= static_cast<int>(kCaptions.size())) {
    return;
  }
  const UnitCaptions& captions = kCaptions[static_cast<std::size_t>(unitIndex)];
  BoxPred->setTitle(LangText(captions.Speed));
  BoxPos->setTitle(LangText(captions.Position));
  GroupBox1->setTitle(LangText(captions.Resolution));
}

int TFMain::DisplayDecimals() const { return kvelt::DisplayDecimals(DivList->currentIndex()); }

std::string TFMain::DecimalSeparator() const { return kvelt::SystemDecimalSeparator(); }

// --- Transistor outputs: the logic rule ---------------------------------------------------------

void TFMain::ApplyOutputLogicRule(int k) {
  if (k < 1 || k > kOutputCount) {
    return;
  }
  const TOutputRowControls& row = OutputRows[static_cast<std::size_t>(k - 1)];
  const bool visible = kvelt::SecondComparisonVisible(row.T->currentIndex());
  row.C->setVisible(visible);
  row.M->setVisible(visible);
}

void TFMain::out1_TChange(QObject* /*Sender*/) { ApplyOutputLogicRule(1); }
void TFMain::out2_TChange(QObject* /*Sender*/) { ApplyOutputLogicRule(2); }
void TFMain::out3_TChange(QObject* /*Sender*/) { ApplyOutputLogicRule(3); }
void TFMain::out4_TChange(QObject* /*Sender*/) { ApplyOutputLogicRule(4); }
void TFMain::out5_TChange(QObject* /*Sender*/) { ApplyOutputLogicRule(5); }

// --- About box ----------------------------------------------------------------------------------------

void TFMain::BitBtn7Click(QObject* /*Sender*/) {
  const QString text = LangText("IDS_186") + u'\n' + u'\n' + QStringLiteral("  wersja: ") + u'\n' +
                       QString::fromUtf16(kvelt::app::kProgramVersion) + u'\n';
  kvelt::app::ShowMessageBox(kvelt::app::MessageIcon::Information, LangText("IDS_189"), text);
}

// --- Language -------------------------------------------------------------------------------------------

// The status panels keep their messages: the activation shows them in the new language.
void TFMain::LangCombo1Change(QObject* /*Sender*/) { ActivateLanguage(LangCombo1->currentIndex() + 1); }

void TFMain::ActivateLanguage(int n) {
  const bool changed = Lang1.SetActiveLanguage(n);
  // Qt's own texts follow the active language even when the table's language stays.
  kvelt::app::QtOwnTranslation::Activate(Lang1.ActiveLanguage());
  if (!changed) {
    return;
  }
  Applier->Apply(Lang1);
  // The table carries the design-time captions; the texts that show a state (the speed unit,
  // recording on or off, the connection) are set again from that state in the new language.
  ApplyUnitCaptions(UnitList->currentIndex());
  ApplyRecordButtonCaption();
  RefreshStatusPanels();
}

QString TFMain::LangText(std::string_view key) const {
  return QString::fromStdString(Lang1.GetTextOrDefault(key));
}

// --- Status bar, settings file, named objects -------------------------------------------------------

QString TFMain::StatusPanelText(int panel) const {
  return panel == 0 || panel == 1 ? StatusPanels[static_cast<std::size_t>(panel)]->text() : QString();
}

void TFMain::SetStatusPanelText(int panel, const QString& text) {
  if (panel == 0 || panel == 1) {
    StatusPanels[static_cast<std::size_t>(panel)]->setText(text);
    StatusPanelKeys[static_cast<std::size_t>(panel)].clear();
  }
}

void TFMain::SetStatusPanelTextAndRepaint(int panel, const QString& text) {
  SetStatusPanelText(panel, text);
  StatusBar->repaint();
}

void TFMain::ShowStatusMessage(int panel, std::string_view key) {
  if (panel == 0 || panel == 1) {
    SetStatusPanelText(panel, LangText(key));
    StatusPanelKeys[static_cast<std::size_t>(panel)] = std::string(key);
  }
}

void TFMain::ShowStatusMessageAndRepaint(int panel, std::string_view key) {
  ShowStatusMessage(panel, key);
  StatusBar->repaint();
}

kvelt::IniFile TFMain::Settings() const { return kvelt::IniFile(IniPath.toStdString()); }

QObject* TFMain::FindNamedObject(const QString& name) const {
  if (name.isEmpty()) {
    return nullptr;
  }
  if (name == objectName() || name == kClassName) {
    return const_cast<TFMain*>(this);
  }
  if (QObject* object = NamedObjects.value(name)) {
    return object;
  }
  return findChild<QObject*>(name);
}

void TFMain::RegisterNamedObject(QObject* object) { NamedObjects.insert(object->objectName(), object); }
