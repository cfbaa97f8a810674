// The window's contents: names and kinds of every control, pages, pictures, status bar, chart,
// dialogs, size limits and the about box.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "i18n/qt/TLangCombo.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QStringList Indexed(const char* prefix, int first, int last, const char* suffix = "") {
  QStringList names;
  for (int n = first; n <= last; ++n) {
    names << QString::fromLatin1(prefix) + QString::number(n) + QString::fromLatin1(suffix);
  }
  return names;
}

qint64 IconKey(TFMain& window, const QString& name) {
  QObject* object = window.FindNamedObject(name);
  if (auto* button = qobject_cast<QAbstractButton*>(object)) {
    return button->icon().cacheKey();
  }
  return -1;
}

}  // namespace

class WindowControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyControlHasItsNameAndKind_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    const auto add = [](const QStringList& names, const char* kind) {
      for (const QString& name : names) {
        QTest::newRow(qPrintable(name)) << name << QString::fromLatin1(kind);
      }
    };
    add({"PageControl1"}, "QTabWidget");
    add(Indexed("TabSheet", 1, 4), "QWidget");
    add({"BoxPos", "BoxPred", "GroupBox1", "GroupBox2", "GroupBox9", "GroupBox8", "GroupBox3", "GroupBox6",
         "GroupBox5", "GroupBox4", "GroupBox7"},
        "QGroupBox");
    add({"Edit1", "Edit2", "Edit4", "Edit5", "Edit7", "Edit8", "Edit10", "Edit11", "save_file"}, "QLineEdit");
    add(Indexed("edit_res", 0, 3) + Indexed("edit_coeff", 0, 3) + Indexed("out", 1, 5, "_N") +
            Indexed("out", 1, 5, "_M"),
        "QLineEdit");
    add(Indexed("BitBtn", 1, 9) + Indexed("button_clear", 0, 3) +
            QStringList{"SaveButton", "SaveChartButton", "ClearButton", "PlayButton"},
        "QPushButton");
    add(Indexed("button_get_res", 0, 3) + Indexed("button_set_res", 0, 3) +
            Indexed("button_get_coeff", 0, 3) + Indexed("button_set_coeff", 0, 3) +
            Indexed("button_get_zero", 0, 3) + Indexed("button_set_zero", 0, 3) +
            QStringList{"SpeedButton1", "SpeedButton2"},
        "QToolButton");
    add(Indexed("edit_zero", 0, 3) + Indexed("out", 1, 5, "_W") + Indexed("out", 1, 5, "_B") +
            Indexed("out", 1, 5, "_T") + Indexed("out", 1, 5, "_C") + Indexed("out", 1, 5, "_S") +
            QStringList{"TimeList", "ComboBox_SavePeriod", "div", "unit", "mod_adr", "mod_br", "LangCombo1"},
        "QComboBox");
    add(Indexed("out", 1, 5, "_A") + Indexed("save_pos", 1, 4) + Indexed("save_ver", 1, 4) +
            QStringList{"auto_save", "save_date", "save_time"},
        "QCheckBox");
    add(Indexed("Label", 1, 5), "QLabel");
    add({"ListBox1"}, "QListWidget");
    add({"Chart1"}, "QChartView");
    add({"Panel1"}, "QFrame");
    add({"StatusBar"}, "QStatusBar");
    add(Indexed("Series", 1, 13), "QLineSeries");
    add({"SaveDialog", "SaveDialogBitmap"}, "TSaveDialog");
  }

  void everyControlHasItsNameAndKind() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    WindowFixture fixture;
    QObject* object = fixture.Window().FindNamedObject(name);
    QVERIFY2(object != nullptr, qPrintable(name));
    QCOMPARE(object->objectName(), name);
    QVERIFY2(object->inherits(kind.toLatin1().constData()), object->metaObject()->className());
    if (auto* combo = qobject_cast<QComboBox*>(object)) {
      QVERIFY(!combo->isEditable());
    }
  }

  void windowIdentity() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QCOMPARE(FMain, &window);
    QCOMPARE(window.objectName(), QStringLiteral("FMain"));
    QCOMPARE(window.windowTitle(), QStringLiteral("KVELT - PC"));
    QCOMPARE(window.font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(window.font().pixelSize(), 11);
    QCOMPARE(window.minimumSize(), QSize(480, 320));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(774, 469));
  }

  // Larger, the read-outs grow with the window; smaller than its pages (a small screen at twice
  // the scale), every control stays reachable by scrolling and the status bar stays in view.
  void windowResizes_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("larger");
    QTest::newRow("large screen") << QSize(1600, 1000) << true;
    QTest::newRow("1366x768 at twice the scale") << QSize(683, 360) << false;
  }

  void windowResizes() {
    QFETCH(QSize, size);
    QFETCH(bool, larger);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    auto controls = Ui(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int designHeight = controls.PositionReadouts[0]->height();
    const int designFont = controls.PositionReadouts[0]->font().pixelSize();
    window.resize(size);
    QTRY_COMPARE(window.size(), size);
    if (larger) {
      QVERIFY(controls.PositionReadouts[0]->height() > designHeight);
      QVERIFY(controls.PositionReadouts[0]->font().pixelSize() > designFont);
      return;
    }
    QVERIFY(controls.StatusBar->isVisible());
    QVERIFY(window.rect().contains(controls.StatusBar->geometry()));
    auto* scroller = window.findChild<QScrollArea*>(QStringLiteral("ClientScroller"));
    QVERIFY(scroller != nullptr);
    // Scrolled to the bottom right corner, channel 4's speed is whole in view and the record
    // button can be clicked.
    QCoreApplication::processEvents();
    scroller->horizontalScrollBar()->setValue(scroller->horizontalScrollBar()->maximum());
    scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
    const auto inView = [&](QWidget* control) {
      return QRect(control->mapTo(scroller->viewport(), QPoint(0, 0)), control->size());
    };
    const QRect viewport = scroller->viewport()->rect();
    QVERIFY(viewport.contains(inView(controls.SpeedReadouts[3])));
    QCOMPARE(viewport.intersected(inView(controls.SaveButton)).height(), controls.SaveButton->height());
  }

  void userSeesExactlyThreeTabs() {
    WindowFixture fixture;
    QTabWidget* pages = Ui(fixture.Window()).PageControl1;
    QStringList visible;
    for (int i = 0; i < pages->count(); ++i) {
      if (pages->isTabVisible(i)) {
        visible << pages->tabText(i);
      }
    }
    QCOMPARE(visible, (QStringList{Utf8("Wskaźnik"), Utf8("Konfiguracja"), Utf8("Ustawienia programu")}));
    QCOMPARE(pages->indexOf(Ui(fixture.Window()).TabSheet1), 1);
    QCOMPARE(pages->tabText(1), QStringLiteral("Wykres"));
    QCOMPARE(pages->currentWidget(), Ui(fixture.Window()).TabSheet2);
    QVERIFY(Ui(fixture.Window()).Chart1->isHidden());
  }

  void readoutBoxes() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    for (std::size_t c = 0; c < 4; ++c) {
      QLineEdit* position = Ui(window).PositionReadouts[c];
      QLineEdit* speed = Ui(window).SpeedReadouts[c];
      QVERIFY(position->isReadOnly());
      QVERIFY(!speed->isReadOnly());
      QCOMPARE(position->font().pixelSize(), 24);
      QCOMPARE(speed->font().pixelSize(), 24);
      QCOMPARE(position->palette().color(QPalette::Text), QColor(0, 128, 0));
      QCOMPARE(speed->palette().color(QPalette::Text).hue(), 0);  // red, dark enough to read
      QVERIFY(position->text().isEmpty());
      QVERIFY(speed->text().isEmpty());
    }
    QCOMPARE(Ui(window).PositionReadouts[2]->objectName(), QStringLiteral("Edit7"));
    QCOMPARE(Ui(window).SpeedReadouts[3]->objectName(), QStringLiteral("Edit11"));
  }

  void designTimeListsAndOutputRows() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QCOMPARE(Ui(window).TimeList->count(), 12);
    QCOMPARE(Ui(window).TimeList->itemText(11), QStringLiteral("50,0   [s]"));
    QCOMPARE(Ui(window).mod_adr->count(), 247);
    QCOMPARE(Ui(window).mod_adr->itemText(246), QStringLiteral("247"));
    QCOMPARE(Ui(window).mod_br->itemText(3), QStringLiteral("115200"));
    QCOMPARE(Ui(window).ComboBox_SavePeriod->itemText(8), QStringLiteral("1 h"));
    QCOMPARE(Ui(window).edit_zero[3]->currentText(), QStringLiteral("Nie"));
    for (const TOutputRowControls& row : Ui(window).OutputRows) {
      QVERIFY(row.A->isEnabled());
      QVERIFY(!row.A->isChecked());
      for (QWidget* control :
           std::initializer_list<QWidget*>{row.W, row.B, row.N, row.T, row.C, row.M, row.S}) {
        QVERIFY(!control->isEnabled());
      }
      QCOMPARE(row.T->currentIndex(), 0);
      QVERIFY(row.C->isHidden());
      QVERIFY(row.M->isHidden());
      QCOMPARE(row.S->itemText(0), QStringLiteral("Niekatywne"));
    }
  }

  void logicRuleShowsSecondComparisonExactlyWithoutDashes() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const TOutputRowControls row = Ui(window).OutputRows[2];
    for (const int position : {1, 2, 0, -1}) {
      row.T->setCurrentIndex(position);
      window.out3_TChange(row.T);
      const bool shown = position != 0;
      QCOMPARE(!row.C->isHidden(), shown);
      QCOMPARE(!row.M->isHidden(), shown);
      QVERIFY(!row.C->isEnabled());  // shown or hidden, never enabled by this rule
    }
    // Other rows are untouched, and a user's choice reaches the handler.
    QVERIFY(Ui(window).OutputRows[0].C->isHidden());
    Ui(window).OutputRows[4].T->setCurrentIndex(2);
    QVERIFY(Ui(window).OutputRows[4].C->isHidden());  // selecting from code runs no handler
    emit Ui(window).OutputRows[4].T->activated(2);
    QVERIFY(!Ui(window).OutputRows[4].C->isHidden());
  }

  void buttonPicturesAreSharedInTheirGroups() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QList<QStringList> groups = {
        Indexed("button_get_res", 0, 3) + Indexed("button_get_coeff", 0, 3) +
            Indexed("button_get_zero", 0, 3) + QStringList{"BitBtn1"},
        Indexed("button_set_res", 0, 3) + Indexed("button_set_coeff", 0, 3) +
            Indexed("button_set_zero", 0, 3) + QStringList{"SpeedButton2"},
        Indexed("button_clear", 0, 3) + QStringList{"ClearButton"},
        Indexed("BitBtn", 3, 7),
        {"SaveButton", "PlayButton"},
        {"BitBtn8", "BitBtn9"},
        {"SaveChartButton"},
        {"BitBtn2"},
        {"SpeedButton1"},
    };
    QSet<qint64> groupKeys;
    for (const QStringList& group : groups) {
      const qint64 key = IconKey(window, group.front());
      QVERIFY(key != -1);
      QVERIFY2(!window.Control<QAbstractButton>(group.front().toLatin1().constData())->icon().isNull(),
               qPrintable(group.front()));
      for (const QString& name : group) {
        QCOMPARE(IconKey(window, name), key);
      }
      QVERIFY2(!groupKeys.contains(key), qPrintable(group.front()));
      groupKeys.insert(key);
    }
    QCOMPARE(Ui(window).InfoButtons[0]->Placement(), TBitBtn::GlyphPlacement::Top);
    QCOMPARE(Ui(window).button_clear[0]->Placement(), TBitBtn::GlyphPlacement::Top);
    QVERIFY(Ui(window).BitBtn2->WordWrap());
  }

  void statusBarAndLanguagePicker() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(Ui(window).StatusPanels[0]->width(), 400);
    // At least 50 pixels, and room for the longest connection text.
    QVERIFY(Ui(window).StatusPanels[1]->width() >= 50);
    for (const QString& text : {QString::fromUtf8("Rozłączony"), QStringLiteral("Disconnected")}) {
      QVERIFY(Ui(window).StatusPanels[1]->fontMetrics().horizontalAdvance(text) <=
              Ui(window).StatusPanels[1]->width());
    }
    TLangCombo* picker = Ui(window).LangCombo1;
    QCOMPARE(picker->parentWidget(), Ui(window).StatusBar);
    QVERIFY(picker->isVisible());
    QCOMPARE(picker->width(), 100);
    QCOMPARE(picker->pos(), QPoint(Ui(window).StatusBar->width() - 115, 2));
    QCOMPARE(picker->count(), 2);
    QCOMPARE(picker->itemText(0), QStringLiteral("Polski"));
    QCOMPARE(picker->itemText(1), QStringLiteral("English"));
    QCOMPARE(picker->itemData(0, Qt::UserRole).value<QPixmap>().size(), QSize(18, 12));
    QCOMPARE(picker->itemData(1, Qt::UserRole).value<QPixmap>().size(), QSize(19, 12));
    // Not on the settings page any more.
    QVERIFY(!Ui(window).TabSheet4->isAncestorOf(picker));
    window.resize(782, 478);
    QTRY_COMPARE(picker->pos(), QPoint(Ui(window).StatusBar->width() - 115, 2));
    window.SetStatusPanelText(0, QStringLiteral("zero"));
    window.SetStatusPanelTextAndRepaint(1, QStringLiteral("one"));
    QCOMPARE(window.StatusPanelText(0), QStringLiteral("zero"));
    QCOMPARE(window.StatusPanelText(1), QStringLiteral("one"));
  }

  void chartSeriesInLegendOrder() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QStringList order;
    QStringList titles;
    for (QAbstractSeries* series : Ui(window).Chart->series()) {
      order << series->objectName();
      titles << series->name();
      QVERIFY(!static_cast<QLineSeries*>(series)->pointsVisible());
    }
    QCOMPARE(order, (QStringList{"Series3", "Series6", "Series9", "Series12", "Series1", "Series4", "Series7",
                                 "Series10", "Series2", "Series5", "Series8", "Series11", "Series13"}));
    QCOMPARE(titles.mid(0, 5),
             (QStringList{"Pozycja [1]", "Pozycja [2]", "Pozycja [3]", "Pozycja [4]", Utf8("Prędkość [1]")}));
    QCOMPARE(titles.back(), Utf8("Wyjście [5]"));
    for (int n = 1; n <= 13; ++n) {
      QCOMPARE(Ui(window).Series[static_cast<std::size_t>(n - 1)]->objectName(),
               QStringLiteral("Series%1").arg(n));
    }
    QCOMPARE(Ui(window).ChartBottomAxis->titleText(), QStringLiteral("Czas [s]"));
    QCOMPARE(Ui(window).ChartLeftAxis->max(), 1038.441641249998);
    QCOMPARE(Ui(window).PlayButton->text(), QStringLiteral("Uruchom wykres"));  // the chart does not run

    const QList<QLegendMarker*> markers = Ui(window).Chart->legend()->markers(Ui(window).Series[5]);
    QCOMPARE(markers.size(), 1);
    emit markers.front()->clicked();
    QVERIFY(!Ui(window).Series[5]->isVisible());
    QTRY_VERIFY(markers.front()->isVisible());
    emit markers.front()->clicked();
    QVERIFY(Ui(window).Series[5]->isVisible());
  }

  void saveDialogs() {
    WindowFixture fixture;
    TSaveDialog* data = Ui(fixture.Window()).SaveDialog;
    QCOMPARE(data->windowTitle(), QStringLiteral("Plik pomiarowy"));
    QCOMPARE(data->nameFilters(), (QStringList{QStringLiteral("Plik tekstowy (*.txt)"),
                                               Utf8("Plik z danymi oddzielonymi średnikami (*.csv)")}));
    QCOMPARE(data->defaultSuffix(), QStringLiteral("csv"));
    QVERIFY(data->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(data->acceptMode(), QFileDialog::AcceptSave);
    TSaveDialog* bitmap = Ui(fixture.Window()).SaveDialogBitmap;
    QCOMPARE(bitmap->nameFilters(), QStringList{QStringLiteral("Mapa bitowa (*.bmp)")});
    QCOMPARE(bitmap->defaultSuffix(), QStringLiteral("bmp"));
    QVERIFY(!bitmap->testOption(QFileDialog::DontConfirmOverwrite));
  }

  void aboutBox_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("Polski") << 1 << QStringLiteral("O programie")
                            << Utf8("Program do wspołpracy z urządzeniem KVELT    4 - osiowy licznik");
    QTest::newRow("English") << 2 << QStringLiteral("About:")
                             << QStringLiteral("Program for the work with the KVELT    4 - axial counter");
  }

  void aboutBox() {
    QFETCH(int, language);
    QFETCH(QString, title);
    QFETCH(QString, firstLine);
    WindowFixture fixture;
    fixture.Window().ActivateLanguage(language);
    Ui(fixture.Window()).BitBtn7->click();
    QCOMPARE(fixture.Boxes().size(), std::size_t{1});
    const kvelt::app::MessageBoxRequest& box = fixture.Boxes().front();
    QCOMPARE(box.Icon, kvelt::app::MessageIcon::Information);
    QCOMPARE(box.Title, title);
    QCOMPARE(box.Text, firstLine + (language == 1 ? QStringLiteral("\n\n  wersja: \n1.05\n")
                                                  : QStringLiteral("\n\nversion:\n1.05\n")));
  }
};

QTEST_MAIN(WindowControlsTest)
#include "tst_window_controls.moc"
