#include "tests/app/support/WindowControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "app/Main.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TReadoutEdit.h"
#include "app/widgets/TSaveDialog.h"
#include "i18n/qt/TLangCombo.h"

namespace kvelt::apptest {

namespace {

template <typename T>
T* Find(const TFMain& window, const QString& name) {
  T* control = qobject_cast<T*>(window.FindNamedObject(name));
  if (control == nullptr) {
    qFatal("the window has no control %s of the expected type", qPrintable(name));
  }
  return control;
}

template <typename T>
void FindChannels(const TFMain& window, std::array<T*, 4>& controls, const char* prefix, int first = 0) {
  for (int c = 0; c < 4; ++c) {
    controls[static_cast<std::size_t>(c)] =
        Find<T>(window, QString::fromLatin1(prefix) + QString::number(c + first));
  }
}

QValueAxis* Axis(const QChart& chart, const QString& name) {
  for (QAbstractAxis* axis : chart.axes()) {
    if (axis->objectName() == name) {
      return qobject_cast<QValueAxis*>(axis);
    }
  }
  qFatal("the chart has no axis %s", qPrintable(name));
}

}  // namespace

WindowControls Ui(const TFMain& window) {
  WindowControls ui;
  const auto find = [&window]<typename T>(T*& control, const char* name) {
    control = Find<T>(window, QString::fromLatin1(name));
  };
  find(ui.PageControl1, "PageControl1");
  find(ui.TabSheet1, "TabSheet1");
  find(ui.TabSheet2, "TabSheet2");
  find(ui.TabSheet3, "TabSheet3");
  find(ui.TabSheet4, "TabSheet4");

  find(ui.BoxPos, "BoxPos");
  find(ui.BoxPred, "BoxPred");
  static constexpr std::array<int, 4> kPositionEdits = {1, 4, 7, 10};
  for (std::size_t c = 0; c < 4; ++c) {
    ui.PositionReadouts[c] = Find<TReadoutEdit>(window, QStringLiteral("Edit%1").arg(kPositionEdits[c]));
    ui.SpeedReadouts[c] = Find<TReadoutEdit>(window, QStringLiteral("Edit%1").arg(kPositionEdits[c] + 1));
  }
  ui.ReadoutPacer = &ui.PositionReadouts[0]->Pacer();
  FindChannels(window, ui.InfoButtons, "BitBtn", 3);
  FindChannels(window, ui.button_clear, "button_clear");
  find(ui.SaveButton, "SaveButton");

  find(ui.Chart1, "Chart1");
  ui.Chart = ui.Chart1->chart();
  for (std::size_t n = 0; n < ui.Series.size(); ++n) {
    ui.Series[n] = Find<QLineSeries>(window, QStringLiteral("Series%1").arg(n + 1));
  }
  ui.ChartBottomAxis = Axis(*ui.Chart, QStringLiteral("ChartBottomAxis"));
  ui.ChartLeftAxis = Axis(*ui.Chart, QStringLiteral("ChartLeftAxis"));
  find(ui.Panel1, "Panel1");
  find(ui.SaveChartButton, "SaveChartButton");
  find(ui.ClearButton, "ClearButton");
  find(ui.PlayButton, "PlayButton");

  find(ui.GroupBox1, "GroupBox1");
  find(ui.GroupBox2, "GroupBox2");
  find(ui.GroupBox9, "GroupBox9");
  FindChannels(window, ui.edit_res, "edit_res");
  FindChannels(window, ui.edit_coeff, "edit_coeff");
  FindChannels(window, ui.edit_zero, "edit_zero");
  FindChannels(window, ui.button_get_res, "button_get_res");
  FindChannels(window, ui.button_set_res, "button_set_res");
  FindChannels(window, ui.button_get_coeff, "button_get_coeff");
  FindChannels(window, ui.button_set_coeff, "button_set_coeff");
  FindChannels(window, ui.button_get_zero, "button_get_zero");
  FindChannels(window, ui.button_set_zero, "button_set_zero");
  find(ui.GroupBox8, "GroupBox8");
  find(ui.TimeList, "TimeList");
  find(ui.SpeedButton2, "SpeedButton2");
  find(ui.GroupBox3, "GroupBox3");
  for (std::size_t k = 0; k < ui.OutputRows.size(); ++k) {
    TOutputRowControls& row = ui.OutputRows[k];
    const QString prefix = QStringLiteral("out%1_").arg(k + 1);
    row.A = Find<QCheckBox>(window, prefix + u'A');
    row.W = Find<QComboBox>(window, prefix + u'W');
    row.B = Find<QComboBox>(window, prefix + u'B');
    row.N = Find<QLineEdit>(window, prefix + u'N');
    row.T = Find<QComboBox>(window, prefix + u'T');
    row.C = Find<QComboBox>(window, prefix + u'C');
    row.M = Find<QLineEdit>(window, prefix + u'M');
    row.S = Find<QComboBox>(window, prefix + u'S');
  }
  find(ui.BitBtn1, "BitBtn1");
  find(ui.BitBtn2, "BitBtn2");

  find(ui.GroupBox6, "GroupBox6");
  find(ui.auto_save, "auto_save");
  find(ui.ComboBox_SavePeriod, "ComboBox_SavePeriod");
  find(ui.save_date, "save_date");
  find(ui.save_time, "save_time");
  FindChannels(window, ui.save_pos, "save_pos", 1);
  FindChannels(window, ui.save_ver, "save_ver", 1);
  find(ui.save_file, "save_file");
  find(ui.SpeedButton1, "SpeedButton1");
  find(ui.DivList, "div");
  find(ui.UnitList, "unit");
  find(ui.ListBox1, "ListBox1");
  find(ui.mod_adr, "mod_adr");
  find(ui.mod_br, "mod_br");
  find(ui.BitBtn7, "BitBtn7");
  find(ui.BitBtn8, "BitBtn8");
  find(ui.BitBtn9, "BitBtn9");
  find(ui.LangCombo1, "LangCombo1");

  find(ui.StatusBar, "StatusBar");
  find(ui.StatusPanels[0], "StatusPanel0");
  find(ui.StatusPanels[1], "StatusPanel1");

  find(ui.SaveDialog, "SaveDialog");
  find(ui.SaveDialogBitmap, "SaveDialogBitmap");
  return ui;
}

}  // namespace kvelt::apptest
