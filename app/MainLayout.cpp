// The window's contents: pages, controls with their names and design-time texts, status bar,
// dialogs.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "app/Main.h"
#include "app/pages/ChartPage.h"
#include "app/widgets/AppFonts.h"
#include "app/widgets/DisplayRatePacer.h"
#include "app/widgets/FlagPictures.h"
#include "app/widgets/HiddenTabGuard.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TReadoutEdit.h"
#include "app/widgets/TSaveDialog.h"
#include "i18n/qt/TLangCombo.h"
#include "measure/RecordPacer.h"

namespace {

constexpr int kClientWidth = 774;
constexpr int kClientHeight = 469;
// The window may be made smaller than its pages (a small screen, a large scale): the pages then
// scroll, and the status bar stays in view.
constexpr int kSmallestWidth = 480;
constexpr int kSmallestHeight = 320;
constexpr int kPagesMinimumWidth = 700;
constexpr int kPagesMinimumHeight = 436;
constexpr int kStatusPanel0Width = 400;
constexpr int kStatusPanel1Width = 50;
constexpr int kLanguagePickerWidth = 100;
constexpr double kLeftAxisMaximum = 1038.441641249998;

const QColor kPositionColour(0, 128, 0);
const QColor kSpeedColour(255, 0, 0);

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QStringList Items(std::initializer_list<const char*> items) {
  QStringList list;
  for (const char* item : items) {
    list << Text(item);
  }
  return list;
}

QStringList PeriodItems() {
  QStringList list;
  for (const std::string_view label : kvelt::SavePeriodLabels) {
    list << QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
  }
  return list;
}

QStringList NumberItems(int first, int last) {
  QStringList list;
  for (int n = first; n <= last; ++n) {
    list << QString::number(n);
  }
  return list;
}

QString IndexedName(const char* prefix, int n, const char* suffix = "") {
  return QString::fromLatin1(prefix) + QString::number(n) + QString::fromLatin1(suffix);
}

void Tight(QLayout* layout, int margin = 6, int spacing = 4) {
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(spacing);
}

// The window's first size: the pages' own, or the primary screen's free area when that is
// smaller (room left for the frame and title bar).
QSize FittedSize(QSize wanted) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return wanted;
  }
  const QSize frame(10, 40);  // the window manager's border and title bar, about
  const QSize room = screen->availableGeometry().size() - frame;
  return wanted.boundedTo(room).expandedTo(QSize(kSmallestWidth, kSmallestHeight));
}

}  // namespace

template <typename Object>
Object* TFMain::Named(Object* object, const char* name) {
  object->setObjectName(QString::fromLatin1(name));
  RegisterNamedObject(object);
  return object;
}

namespace {

// Each layout helper below names its widget through this, as the window's registry wants it.
template <typename Object>
Object* WithName(Object* object, const QString& name) {
  object->setObjectName(name);
  return object;
}

QComboBox* NewList(const QStringList& items) {
  auto* list = new QComboBox;
  list->setEditable(false);
  list->addItems(items);
  list->setCurrentIndex(0);
  return list;
}

QToolButton* NewToolButton(const QIcon& glyph) {
  auto* button = new QToolButton;
  button->setIcon(glyph);
  button->setIconSize(QSize(16, 16));
  button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  return button;
}

TReadoutEdit* NewReadout(kvelt::app::DisplayRatePacer& pacer, const QColor& colour, bool readOnly) {
  auto* edit = new TReadoutEdit(pacer);
  edit->setFont(kvelt::app::AppFonts::ReadoutFont());
  edit->SetValueColour(colour);
  edit->setReadOnly(readOnly);
  edit->setMinimumWidth(60);
  // The read-outs are what the window is for: they take the room the window is given.
  edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return edit;
}

}  // namespace

void TFMain::BuildWindow() {
  setWindowTitle(Text("KVELT - PC"));
  setFont(kvelt::app::AppFonts::WindowFont());

  auto* client = new QWidget;
  client->setObjectName(QStringLiteral("ClientArea"));
  auto* clientLayout = new QVBoxLayout(client);
  clientLayout->setContentsMargins(0, 0, 0, 0);
  clientLayout->setSpacing(0);
  PageControl1 = Named(new QTabWidget, "PageControl1");
  PageControl1->setDocumentMode(true);
  PageControl1->addTab(BuildReadoutsPage(), Text("Wskaźnik"));
  PageControl1->addTab(BuildChartPage(), Text("Wykres"));
  PageControl1->addTab(BuildConfigurationPage(), Text("Konfiguracja"));
  PageControl1->addTab(BuildProgramSettingsPage(), Text("Ustawienia programu"));
  PageControl1->setTabVisible(PageControl1->indexOf(TabSheet1), false);
  new kvelt::app::HiddenTabGuard(PageControl1);
  PageControl1->setCurrentWidget(TabSheet2);
  clientLayout->addWidget(PageControl1);
  auto* scroller = new QScrollArea;
  scroller->setObjectName(QStringLiteral("ClientScroller"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setWidget(client);
  setCentralWidget(scroller);
  client->installEventFilter(this);

  BuildStatusBar();
  BuildDialogs();

  // The pages scroll only below the room the design gives them (a few pixels under what their
  // layouts ask, as they always were at the design size).
  client->setMinimumSize(kPagesMinimumWidth, kPagesMinimumHeight);
  setMinimumSize(kSmallestWidth, kSmallestHeight);
  resize(FittedSize(QSize(kClientWidth, kClientHeight)));
}

QWidget* TFMain::BuildReadoutsPage() {
  TabSheet2 = Named(new QWidget, "TabSheet2");
  auto* page = new QVBoxLayout(TabSheet2);
  Tight(page, 8, 6);

  static constexpr std::array<const char*, 4> kPositionNames = {"Edit1", "Edit4", "Edit7", "Edit10"};
  static constexpr std::array<const char*, 4> kSpeedNames = {"Edit2", "Edit5", "Edit8", "Edit11"};
  BoxPos = Named(new QGroupBox(Text("Pozycja [obr]")), "BoxPos");
  BoxPred = Named(new QGroupBox(Text("Prędkość [obr/min]")), "BoxPred");
  auto* positions = new QHBoxLayout(BoxPos);
  auto* speeds = new QHBoxLayout(BoxPred);
  Tight(positions, 8, 8);
  Tight(speeds, 8, 8);
  ReadoutPacer = new kvelt::app::DisplayRatePacer(this);
  for (std::size_t c = 0; c < 4; ++c) {
    PositionReadouts[c] = Named(NewReadout(*ReadoutPacer, kPositionColour, true), kPositionNames[c]);
    SpeedReadouts[c] = Named(NewReadout(*ReadoutPacer, kSpeedColour, false), kSpeedNames[c]);
    positions->addWidget(PositionReadouts[c]);
    speeds->addWidget(SpeedReadouts[c]);
  }
  page->addWidget(BoxPos, 2);
  page->addWidget(BoxPred, 2);

  // The five outputs' lamps, from channel 4's frames.
  BoxOutputs = Named(new QGroupBox(Text("Wyjścia tranzystorowe")), "BoxOutputs");
  auto* lamps = new QHBoxLayout(BoxOutputs);
  Tight(lamps, 8, 8);
  for (std::size_t k = 0; k < OutputLamps.size(); ++k) {
    const QByteArray name = "OutputLamp" + QByteArray::number(static_cast<int>(k) + 1);
    OutputLamps[k] = Named(new QLabel, name.constData());
    OutputLamps[k]->setMinimumHeight(22);
    lamps->addWidget(OutputLamps[k]);
  }
  page->addWidget(BoxOutputs);

  static constexpr std::array<const char*, 4> kInfoNames = {"BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6"};
  static constexpr std::array<const char*, 4> kClearNames = {"button_clear0", "button_clear1",
                                                             "button_clear2", "button_clear3"};
  auto* infoRow = new QHBoxLayout;
  auto* clearRow = new QHBoxLayout;
  infoRow->setSpacing(8);
  clearRow->setSpacing(8);
  for (std::size_t c = 0; c < 4; ++c) {
    InfoButtons[c] = Named(new TBitBtn(glyphs_.Info, TBitBtn::GlyphPlacement::Top, false), kInfoNames[c]);
    InfoButtons[c]->setText(IndexedName("Informacje o czujniku ", static_cast<int>(c) + 1));
    button_clear[c] = Named(new TBitBtn(glyphs_.Clear, TBitBtn::GlyphPlacement::Top, false), kClearNames[c]);
    button_clear[c]->setText(Text("Zeruj pozycję ") + QString::number(c + 1));
    for (TBitBtn* button : {InfoButtons[c], button_clear[c]}) {
      button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    infoRow->addWidget(InfoButtons[c]);
    clearRow->addWidget(button_clear[c]);
  }
  page->addSpacing(4);
  page->addLayout(infoRow, 1);
  page->addLayout(clearRow, 1);

  SaveButton = Named(new TBitBtn(glyphs_.StartStop, TBitBtn::GlyphPlacement::Left, false), "SaveButton");
  SaveButton->setText(Text("Uruchom rejestrację danych"));
  SaveButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  page->addWidget(SaveButton, 1);
  RecordingProgressLabel = Named(new QLabel, "RecordingProgress");
  page->addWidget(RecordingProgressLabel);
  return TabSheet2;
}

QWidget* TFMain::BuildChartPage() {
  TabSheet1 = Named(new QWidget, "TabSheet1");
  auto* page = new QGridLayout(TabSheet1);
  Tight(page, 0, 0);

  Chart = new QChart;
  Chart->setObjectName(QStringLiteral("Chart"));
  Chart->setBackgroundRoundness(0);
  Chart->legend()->setFont(kvelt::app::AppFonts::WindowFont());
  Chart->legend()->setBackgroundVisible(false);
  ChartBottomAxis = new QValueAxis;
  ChartBottomAxis->setObjectName(QStringLiteral("ChartBottomAxis"));
  ChartBottomAxis->setTitleText(Text("Czas [s]"));
  ChartBottomAxis->setRange(0.0, 10.0);
  ChartLeftAxis = new QValueAxis;
  ChartLeftAxis->setObjectName(QStringLiteral("ChartLeftAxis"));
  ChartLeftAxis->setRange(0.0, kLeftAxisMaximum);
  Chart->addAxis(ChartBottomAxis, Qt::AlignBottom);
  Chart->addAxis(ChartLeftAxis, Qt::AlignLeft);

  // Legend order: the positions, the speeds, then the outputs.
  struct SeriesEntry {
    int Number;
    const char* Title;
  };
  static constexpr std::array<SeriesEntry, kSeriesCount> kSeries = {{
      {3, "Pozycja [1]"},
      {6, "Pozycja [2]"},
      {9, "Pozycja [3]"},
      {12, "Pozycja [4]"},
      {1, "Prędkość [1]"},
      {4, "Prędkość [2]"},
      {7, "Prędkość [3]"},
      {10, "Prędkość [4]"},
      {2, "Wyjście [1]"},
      {5, "Wyjście [2]"},
      {8, "Wyjście [3]"},
      {11, "Wyjście [4]"},
      {13, "Wyjście [5]"},
  }};
  for (const SeriesEntry& entry : kSeries) {
    auto* series = new QLineSeries;
    series->setObjectName(IndexedName("Series", entry.Number));
    series->setName(Text(entry.Title));
    series->setPointsVisible(false);
    series->setPointLabelsVisible(false);
    Chart->addSeries(series);
    series->attachAxis(ChartBottomAxis);
    series->attachAxis(ChartLeftAxis);
    Series[static_cast<std::size_t>(entry.Number - 1)] = series;
    RegisterNamedObject(series);
  }
  // A click on a legend entry shows or hides its series; the entry itself stays, dimmed.
  for (QLegendMarker* marker : Chart->legend()->markers()) {
    connect(marker, &QLegendMarker::clicked, this, [marker] {
      QAbstractSeries* series = marker->series();
      series->setVisible(!series->isVisible());
      // The legend hides the entry of a hidden series once it has seen the change; bring it back
      // after that.
      QTimer::singleShot(0, marker, [marker] { marker->setVisible(true); });
      QBrush labelBrush = marker->labelBrush();
      QColor colour = labelBrush.color();
      colour.setAlphaF(series->isVisible() ? 1.0 : 0.4);
      labelBrush.setColor(colour);
      marker->setLabelBrush(labelBrush);
    });
  }

  Chart1 = Named(new QChartView(Chart), "Chart1");
  Chart1->setFrameShape(QFrame::NoFrame);
  Chart1->setVisible(false);
  page->addWidget(Chart1, 0, 0);

  Panel1 = Named(new QFrame, "Panel1");
  Panel1->setFrameShape(QFrame::StyledPanel);
  auto* panel = new QVBoxLayout(Panel1);
  Tight(panel, 4, 4);
  SaveChartButton =
      Named(new TBitBtn(glyphs_.SaveChart, TBitBtn::GlyphPlacement::Left, false), "SaveChartButton");
  SaveChartButton->setText(Text("Zapisz wykres"));
  ClearButton = Named(new TBitBtn(glyphs_.Clear, TBitBtn::GlyphPlacement::Left, false), "ClearButton");
  ClearButton->setText(Text("Wyczyść wykres"));
  PlayButton = Named(new TBitBtn(glyphs_.StartStop, TBitBtn::GlyphPlacement::Left, false), "PlayButton");
  PlayButton->setText(Text("Zatrzymaj wykres"));
  for (TBitBtn* button : {SaveChartButton, ClearButton, PlayButton}) {
    panel->addWidget(button);
  }
  page->addWidget(Panel1, 0, 0, Qt::AlignRight | Qt::AlignBottom);

  // What users of plotting tools expect besides, in a row below the chart: the time window, a
  // paused view, autoscale and the export of what is shown.
  auto* tools = new QHBoxLayout;
  Tight(tools, 4, 8);
  tools->addWidget(Named(new QLabel(Text("Okno czasu:")), "ChartWindowLabel"));
  QStringList windows;
  for (const int span : kvelt::app::ChartPage::kTimeWindows) {
    windows << QStringLiteral("%1 s").arg(span);
  }
  ChartWindowList = Named(NewList(windows), "ChartWindowList");
  tools->addWidget(ChartWindowList);
  ChartPauseBox = Named(new QCheckBox(Text("Wstrzymaj widok")), "ChartPauseBox");
  ChartAutoScaleBox = Named(new QCheckBox(Text("Autoskalowanie")), "ChartAutoScaleBox");
  tools->addWidget(ChartPauseBox);
  tools->addWidget(ChartAutoScaleBox);
  tools->addStretch(1);
  ExportChartButton =
      Named(new TBitBtn(glyphs_.SaveChart, TBitBtn::GlyphPlacement::Left, false), "ExportChartButton");
  ExportChartButton->setText(Text("Eksportuj wykres"));
  tools->addWidget(ExportChartButton);
  page->addLayout(tools, 1, 0);
  page->setRowStretch(0, 1);
  return TabSheet1;
}

QWidget* TFMain::BuildConfigurationPage() {
  TabSheet3 = Named(new QWidget, "TabSheet3");
  auto* page = new QGridLayout(TabSheet3);
  Tight(page, 8, 6);

  // One group of four channel columns: value control, read button, write button.
  // The buttons show only a picture: their hints say what they do ("Odczytaj <what> z licznika").
  using ToolButtons = std::array<QToolButton*, 4>;
  const auto buildChannelGroup = [this](QGroupBox* group, const char* valuePrefix, const char* getPrefix,
                                        ToolButtons& gets, const char* setPrefix, ToolButtons& sets,
                                        const char* what, const auto& makeValue) {
    auto* row = new QHBoxLayout(group);
    Tight(row, 8, 2);
    for (int c = 0; c < 4; ++c) {
      QWidget* value = makeValue(c);
      value->setObjectName(IndexedName(valuePrefix, c));
      RegisterNamedObject(value);
      auto* get = WithName(NewToolButton(glyphs_.Read), IndexedName(getPrefix, c));
      auto* set = WithName(NewToolButton(glyphs_.Write), IndexedName(setPrefix, c));
      get->setToolTip(Text("Odczytaj ") + Text(what) + Text(" z licznika"));
      set->setToolTip(Text("Zapisz ") + Text(what) + Text(" do licznika"));
      RegisterNamedObject(get);
      RegisterNamedObject(set);
      gets[static_cast<std::size_t>(c)] = get;
      sets[static_cast<std::size_t>(c)] = set;
      if (c > 0) {
        row->addSpacing(10);
      }
      row->addWidget(value, 1);
      row->addWidget(get);
      row->addWidget(set);
    }
  };

  GroupBox1 = Named(new QGroupBox(Text("Rozdzielczość enkodera [imp/obr]")), "GroupBox1");
  buildChannelGroup(GroupBox1, "edit_res", "button_get_res", button_get_res, "button_set_res", button_set_res,
                    "rozdzielczość", [this](int c) {
                      edit_res[static_cast<std::size_t>(c)] = new QLineEdit;
                      return edit_res[static_cast<std::size_t>(c)];
                    });
  GroupBox2 = Named(new QGroupBox(Text("Mnożnik [COEFF]")), "GroupBox2");
  buildChannelGroup(GroupBox2, "edit_coeff", "button_get_coeff", button_get_coeff, "button_set_coeff",
                    button_set_coeff, "mnożnik", [this](int c) {
                      edit_coeff[static_cast<std::size_t>(c)] = new QLineEdit;
                      return edit_coeff[static_cast<std::size_t>(c)];
                    });
  GroupBox9 = Named(new QGroupBox(Text("Zerowanie [Kanał C]")), "GroupBox9");
  buildChannelGroup(GroupBox9, "edit_zero", "button_get_zero", button_get_zero, "button_set_zero",
                    button_set_zero, "znacznik zera", [this](int c) {
                      edit_zero[static_cast<std::size_t>(c)] = NewList(Items({"Nie", "Tak"}));
                      return edit_zero[static_cast<std::size_t>(c)];
                    });
  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  left->addWidget(GroupBox1);
  left->addWidget(GroupBox2);
  left->addWidget(GroupBox9);
  page->addLayout(left, 0, 0);

  GroupBox8 = Named(new QGroupBox(Text("Czas bramkowania")), "GroupBox8");
  auto* gate = new QGridLayout(GroupBox8);
  Tight(gate, 8, 4);
  TimeList = Named(
      NewList(Items({"0,01   [s]", "0,02   [s]", "0,05   [s]", "0,10   [s]", "0,20   [s]", "0,50   [s]",
                     "1,00   [s]", "2,00   [s]", "5,00   [s]", "10,0   [s]", "20,0   [s]", "50,0   [s]"})),
      "TimeList");
  SpeedButton2 = Named(NewToolButton(glyphs_.Write), "SpeedButton2");
  SpeedButton2->setToolTip(Text("Zapisz czas bramkowania do licznika"));
  gate->addWidget(TimeList, 0, 0);
  gate->addWidget(SpeedButton2, 0, 1);
  gate->setRowStretch(1, 1);
  page->addWidget(GroupBox8, 0, 1);

  GroupBox3 = Named(new QGroupBox(Text("Wyjścia tranzystorowe")), "GroupBox3");
  auto* outputs = new QGridLayout(GroupBox3);
  Tight(outputs, 8, 4);
  outputs->setHorizontalSpacing(6);
  for (int k = 1; k <= kOutputCount; ++k) {
    TOutputRowControls& row = OutputRows[static_cast<std::size_t>(k - 1)];
    row.A = WithName(new QCheckBox(Text("Wyjście ") + QString::number(k)), IndexedName("out", k, "_A"));
    row.W = WithName(NewList(Items({"Pozycja [1]", "Pozycja [2]", "Pozycja [3]", "Pozycja [4]"})),
                     IndexedName("out", k, "_W"));
    row.B = WithName(NewList(Items({"mniejsza", "większa"})), IndexedName("out", k, "_B"));
    row.N = WithName(new QLineEdit, IndexedName("out", k, "_N"));
    row.T = WithName(NewList(Items({"---", "suma logiczna [and]", "iloczyn logiczny [or]"})),
                     IndexedName("out", k, "_T"));
    row.C = WithName(NewList(Items({"mniejsza", "większa"})), IndexedName("out", k, "_C"));
    row.M = WithName(new QLineEdit, IndexedName("out", k, "_M"));
    row.S = WithName(NewList(Items({"Niekatywne", "Aktywne"})), IndexedName("out", k, "_S"));
    const std::array<QWidget*, 8> controls = {row.A, row.W, row.B, row.N, row.T, row.C, row.M, row.S};
    for (int column = 0; column < static_cast<int>(controls.size()); ++column) {
      QWidget* control = controls[static_cast<std::size_t>(column)];
      RegisterNamedObject(control);
      if (column > 0) {
        control->setEnabled(false);
      }
      outputs->addWidget(control, k - 1, column);
    }
    // A hidden second comparison keeps its room, so the state list stays in its column.
    for (QWidget* control : {static_cast<QWidget*>(row.C), static_cast<QWidget*>(row.M)}) {
      QSizePolicy policy = control->sizePolicy();
      policy.setRetainSizeWhenHidden(true);
      control->setSizePolicy(policy);
    }
  }
  outputs->setColumnStretch(3, 1);
  outputs->setColumnStretch(6, 1);
  BitBtn2 = Named(new TBitBtn(glyphs_.SaveSettings, TBitBtn::GlyphPlacement::Left, true), "BitBtn2");
  BitBtn2->setText(Text("Zapisz nastawy do urządzenia"));
  BitBtn1 = Named(new TBitBtn(glyphs_.Read, TBitBtn::GlyphPlacement::Left, true), "BitBtn1");
  BitBtn1->setText(Text("Odczytaj nastawy z urządzenia"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BitBtn2);
  buttons->addWidget(BitBtn1);
  outputs->addLayout(buttons, kOutputCount, 0, 1, 8);
  page->addWidget(GroupBox3, 1, 0, 1, 2);
  page->setRowStretch(2, 1);
  page->setColumnStretch(0, 1);
  return TabSheet3;
}

QWidget* TFMain::BuildProgramSettingsPage() {
  TabSheet4 = Named(new QWidget, "TabSheet4");
  auto* page = new QHBoxLayout(TabSheet4);
  Tight(page, 8, 8);

  GroupBox6 = Named(new QGroupBox(Text("Rejestracja danych")), "GroupBox6");
  auto* recording = new QVBoxLayout(GroupBox6);
  Tight(recording, 8, 3);
  auto_save = Named(new QCheckBox(Text("Automatycznie rozpocznij zapis do pliku")), "auto_save");
  recording->addWidget(auto_save);
  auto* period = new QHBoxLayout;
  period->addWidget(Named(new QLabel(Text("Zapis danych co:")), "Label5"));
  ComboBox_SavePeriod = Named(NewList(PeriodItems()), "ComboBox_SavePeriod");
  period->addWidget(ComboBox_SavePeriod, 1);
  recording->addLayout(period);
  save_date = Named(new QCheckBox(Text("Rejestruj datę pomiaru")), "save_date");
  save_time = Named(new QCheckBox(Text("Rejestruj godzinę pomiaru")), "save_time");
  recording->addWidget(save_date);
  recording->addWidget(save_time);
  for (int n = 1; n <= 4; ++n) {
    save_pos[static_cast<std::size_t>(n - 1)] = WithName(
        new QCheckBox(Text("Rejestruj Pozycję [") + QString::number(n) + u']'), IndexedName("save_pos", n));
    RegisterNamedObject(save_pos[static_cast<std::size_t>(n - 1)]);
    recording->addWidget(save_pos[static_cast<std::size_t>(n - 1)]);
  }
  for (int n = 1; n <= 4; ++n) {
    save_ver[static_cast<std::size_t>(n - 1)] = WithName(
        new QCheckBox(Text("Rejestruj Prędkość [") + QString::number(n) + u']'), IndexedName("save_ver", n));
    RegisterNamedObject(save_ver[static_cast<std::size_t>(n - 1)]);
    recording->addWidget(save_ver[static_cast<std::size_t>(n - 1)]);
  }
  recording->addSpacing(4);
  recording->addWidget(Named(new QLabel(Text("Plik z pomiarami")), "Label4"));
  auto* file = new QHBoxLayout;
  save_file = Named(new QLineEdit(Text("save_file")), "save_file");
  SpeedButton1 = Named(NewToolButton(glyphs_.ChooseFile), "SpeedButton1");
  SpeedButton1->setToolTip(Text("Wybierz plik z pomiarami"));
  file->addWidget(save_file, 1);
  file->addWidget(SpeedButton1);
  recording->addLayout(file);
  recording->addStretch(1);
  page->addWidget(GroupBox6, 5);

  auto* middle = new QVBoxLayout;
  middle->setSpacing(6);
  auto* display = Named(new QGroupBox(Text("Opcie wyświetlania")), "GroupBox5");
  auto* displayGrid = new QGridLayout(display);
  Tight(displayGrid, 8, 4);
  DivList = Named(NewList(NumberItems(0, 4)), "div");
  UnitList = Named(NewList(Items({"[obr/s]", "[obr/min]", "[mm/s]", "[mm/min]"})), "unit");
  displayGrid->addWidget(Named(new QLabel(Text("Położenie kropki dziesiętnej")), "Label1"), 0, 0);
  displayGrid->addWidget(DivList, 0, 1);
  displayGrid->addWidget(Named(new QLabel(Text("Jednostka prędkości")), "Label2"), 1, 0);
  displayGrid->addWidget(UnitList, 1, 1);
  show_chart = Named(new QCheckBox(Text("Pokaż wykres")), "show_chart");
  displayGrid->addWidget(show_chart, 2, 0, 1, 2);
  displayGrid->setColumnStretch(1, 1);
  middle->addWidget(display);

  auto* usb = Named(new QGroupBox(Text("Połączenie USB")), "GroupBox4");
  auto* usbLayout = new QVBoxLayout(usb);
  Tight(usbLayout, 8, 4);
  usbLayout->addWidget(Named(new QLabel(Text("Aktywne urządzenie USB")), "Label3"));
  ListBox1 = Named(new QListWidget, "ListBox1");
  usbLayout->addWidget(ListBox1);
  middle->addWidget(usb, 1);

  auto* modbus = Named(new QGroupBox(Text("Konfiguracja MODBUS")), "GroupBox7");
  auto* modbusGrid = new QGridLayout(modbus);
  Tight(modbusGrid, 8, 4);
  mod_adr = Named(NewList(NumberItems(1, 247)), "mod_adr");
  mod_br = Named(NewList(Items({"19200", "38400", "57600", "115200"})), "mod_br");
  BitBtn8 = Named(new TBitBtn(glyphs_.Modbus, TBitBtn::GlyphPlacement::Left, false), "BitBtn8");
  BitBtn8->setText(Text("Ustaw adres"));
  BitBtn9 = Named(new TBitBtn(glyphs_.Modbus, TBitBtn::GlyphPlacement::Left, false), "BitBtn9");
  BitBtn9->setText(Text("Ustaw prędkość"));
  modbusGrid->addWidget(mod_adr, 0, 0);
  modbusGrid->addWidget(BitBtn8, 0, 1);
  modbusGrid->addWidget(mod_br, 1, 0);
  modbusGrid->addWidget(BitBtn9, 1, 1);
  modbusGrid->setColumnStretch(0, 1);
  middle->addWidget(modbus);
  page->addLayout(middle, 4);

  auto* right = new QVBoxLayout;
  BitBtn7 = Named(new TBitBtn(glyphs_.Info, TBitBtn::GlyphPlacement::Left, false), "BitBtn7");
  BitBtn7->setText(Text("O programie"));
  right->addWidget(BitBtn7);
  right->addStretch(1);
  LangCombo1 = Named(new TLangCombo, "LangCombo1");
  LangCombo1->AddLanguage(QString::fromStdString(lang_.LanguageName(1)), kvelt::app::FlagPictures::Polish());
  LangCombo1->AddLanguage(QString::fromStdString(lang_.LanguageName(2)), kvelt::app::FlagPictures::English());
  LangCombo1->setCurrentIndex(lang_.ActiveLanguage() - 1);
  LangCombo1->setFixedWidth(kLanguagePickerWidth);
  right->addWidget(LangCombo1);
  page->addLayout(right, 0);
  return TabSheet4;
}

int TFMain::ConnectionPanelWidth() const {
  // 50 pixels, or more where the connection texts of either language need it, so that
  // "Rozłączony", "Disconnected" and the simulated counter's connection are not cut off.
  const QFontMetrics metrics(font());
  int width = kStatusPanel1Width;
  for (const char* key : {"IDS_1", "IDS_2", "IDS_212"}) {
    const kvelt::TranslationRow* row = lang_.Table().Find(kvelt::TStringsType::stStrings, key);
    if (row == nullptr) {
      continue;
    }
    for (const std::string& text : row->Texts) {
      width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(text)) + 6);
    }
  }
  return width;
}

void TFMain::BuildStatusBar() {
  StatusBar = Named(new QStatusBar, "StatusBar");
  for (std::size_t panel = 0; panel < StatusPanels.size(); ++panel) {
    StatusPanels[panel] = new QLabel;
    StatusPanels[panel]->setObjectName(IndexedName("StatusPanel", static_cast<int>(panel)));
    StatusPanels[panel]->setFixedWidth(panel == 0 ? kStatusPanel0Width : ConnectionPanelWidth());
    StatusBar->addWidget(StatusPanels[panel]);
  }
  StatusBar->setMinimumHeight(LangCombo1->sizeHint().height() + 4);
  StatusBar->installEventFilter(this);
  setStatusBar(StatusBar);
}

void TFMain::BuildDialogs() {
  SaveDialog = Named(new TSaveDialog(this), "SaveDialog");
  SaveDialog->SetTitle(Text("Plik pomiarowy"));
  SaveDialog->SetFilter(
      Text("Plik tekstowy (*.txt)|*.txt|Plik z danymi oddzielonymi średnikami (*.csv)|*.csv"));
  SaveDialog->SetDefaultExt(Text("*.csv"));
  SaveDialog->setOption(QFileDialog::DontConfirmOverwrite, true);

  SaveDialogBitmap = Named(new TSaveDialog(this), "SaveDialogBitmap");
  SaveDialogBitmap->SetTitle(Text("Plik pomiarowy"));
  SaveDialogBitmap->SetFilter(Text("Mapa bitowa (*.bmp)|*.bmp"));
  SaveDialogBitmap->SetDefaultExt(Text("*.bmp"));

  SaveDialogExport = Named(new TSaveDialog(this), "SaveDialogExport");
  SaveDialogExport->SetTitle(Text("Eksport wykresu"));
  SaveDialogExport->SetFilter(
      Text("Obraz PNG (*.png)|*.png|Rysunek SVG (*.svg)|*.svg|Dane CSV (*.csv)|*.csv"));
  SaveDialogExport->SetDefaultExt(Text("*.png"));
}
