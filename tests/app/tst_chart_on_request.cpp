// The chart page on the user's request: the tab and its stored choice, the time window, the
// paused view, autoscale and the exports read back.

#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLocale>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include "app/widgets/TBitBtn.h"
#include "protocol/ChannelFrame.h"
#include "tests/app/support/SaveDialogAnswer.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::ChannelFrameBytes;
using kvelt::apptest::Feed;
using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

bool TabShown(TFMain& window) {
  return Ui(window).PageControl1->isTabVisible(Ui(window).PageControl1->indexOf(Ui(window).TabSheet1));
}

// Runs the chart and feeds `cycles` rounds of the four channels, values n/4 apart (exact with two
// decimals), outputs alternating.
void FeedCycles(TFMain& window, int cycles, int first = 0) {
  for (int i = first; i < first + cycles; ++i) {
    const float value = static_cast<float>(i) / 4.0f;
    for (int channel = 0; channel < 3; ++channel) {
      Feed(window, ChannelFrameBytes(channel, value + static_cast<float>(channel), -value));
    }
    kvelt::ChannelFrame frame;
    frame.Code = 103;
    frame.Position = value;
    frame.Speed = 2.0f * value;
    frame.OutputState = static_cast<std::uint8_t>(i & 1 ? 0x1F : 0);
    const auto bytes = kvelt::EncodeChannelFrame(frame);
    Feed(window, {bytes.begin(), bytes.end()});
  }
}

void ShowRunningChart(TFMain& window) {
  window.Control<QCheckBox>("show_chart")->click();
  window.show();
  Ui(window).PageControl1->setCurrentWidget(Ui(window).TabSheet1);
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  Ui(window).PlayButton->click();
}

}  // namespace

class ChartOnRequestTest : public QObject {
  Q_OBJECT

 private slots:
  // Off in a fresh file, which never gets the key until the box is changed; the choice then
  // survives a restart, and hiding the page leaves it.
  void showChartTabAndItsKey() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QVERIFY(!TabShown(window));
    QCOMPARE(fixture.IniLines().size(), 18);
    Ui(window).save_date->click();  // stores the other boxes
    fixture.Reopen();
    QVERIFY(!fixture.IniLines().join(u'\n').contains(QStringLiteral("ShowChart")));
    QVERIFY(!TabShown(fixture.Window()));

    fixture.Window().Control<QCheckBox>("show_chart")->click();
    QVERIFY(TabShown(fixture.Window()));
    QVERIFY(Ui(fixture.Window()).Chart1->isVisibleTo(Ui(fixture.Window()).TabSheet1));
    QCOMPARE(fixture.IniLines().back(), QStringLiteral("ShowChart=1"));
    fixture.Reopen();
    TFMain& again = fixture.Window();
    QVERIFY(again.Control<QCheckBox>("show_chart")->isChecked());
    QVERIFY(TabShown(again));
    Ui(again).PageControl1->setCurrentWidget(Ui(again).TabSheet1);
    again.Control<QCheckBox>("show_chart")->click();
    QVERIFY(!TabShown(again));
    QCOMPARE(Ui(again).PageControl1->currentWidget(), Ui(again).TabSheet2);
    QVERIFY(fixture.IniLines().contains(QStringLiteral("ShowChart=0")));
    QVERIFY(fixture.Boxes().empty());
  }

  void timeWindowChoice_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("span");
    QTest::newRow("10 s, as built") << 0 << 10.0;
    QTest::newRow("60 s") << 2 << 60.0;
    QTest::newRow("120 s keeps every point") << 3 << 120.0;
  }
  void timeWindowChoice() {
    QFETCH(int, index);
    QFETCH(double, span);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    auto* list = window.Control<QComboBox>("ChartWindowList");
    list->setCurrentIndex(index);
    window.ChartWindowListChange(list);
    Ui(window).PlayButton->click();
    FeedCycles(window, 1300);
    window.ChartLogic().Flush();
    const double now = static_cast<double>(window.ChartLogic().Time());
    QCOMPARE(Ui(window).ChartBottomAxis->max(), now);
    QCOMPARE(Ui(window).ChartBottomAxis->min(), now - span);
    const QList<QPointF> points = Ui(window).Series[2]->points();
    QVERIFY(points.front().x() < now - span);  // the line enters from the left edge
    QVERIFY(points.front().x() >= now - span - 1.01);
  }

  // A series gets only the points its line needs; what was shown keeps them all.
  void constantRunsDrawnByTheirEnds() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    ShowRunningChart(window);
    for (int i = 0; i < 30; ++i) {
      Feed(window, ChannelFrameBytes(3, i < 10 || i >= 20 ? 1.0f : 5.0f, static_cast<float>(i)));
    }
    window.ChartLogic().Flush();
    const QList<QPointF> shown = window.ChartLogic().Feed().Shown(12);  // position 4
    QCOMPARE(shown.size(), 30);
    const QList<QPointF> line = Ui(window).Series[11]->points();
    QCOMPARE(line, (QList<QPointF>{shown[0], shown[9], shown[10], shown[19], shown[20], shown[29]}));
    QCOMPARE(Ui(window).Series[9]->count(), 30);  // speed 4 changes at every point
  }

  // Paused, the view holds still while the points go on filling; resumed, it shows them.
  void pauseKeepsTheData() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    ShowRunningChart(window);
    FeedCycles(window, 50);
    window.ChartLogic().Flush();
    const double shownMax = Ui(window).ChartBottomAxis->max();
    auto* pause = window.Control<QCheckBox>("ChartPauseBox");
    pause->click();
    FeedCycles(window, 150, 50);
    window.ChartLogic().Flush();
    QTest::qWait(2 * kvelt::ChartFeed::kFlushIntervalMs);
    QCOMPARE(Ui(window).Series[11]->count(), 50);
    QCOMPARE(Ui(window).ChartBottomAxis->max(), shownMax);
    const auto& held = window.ChartLogic().Feed().Buffer(12);
    QCOMPARE(held.Points().constLast().y(), 199.0 / 4.0);
    pause->click();
    QCOMPARE(Ui(window).Series[11]->points(), held.Points());
    QCOMPARE(Ui(window).ChartBottomAxis->max(), static_cast<double>(window.ChartLogic().Time()));
  }

  // Autoscale spans the series shown; a series hidden from the legend leaves the span; off, the
  // axis is back at its fixed maximum.
  void autoScaleFollowsTheSeriesShown() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    ShowRunningChart(window);
    FeedCycles(window, 40, 400);  // positions 100..112.75, speeds down to -109.75, outputs 0/1
    window.ChartLogic().Flush();
    auto* autoScale = window.Control<QCheckBox>("ChartAutoScaleBox");
    autoScale->click();
    QCOMPARE(Ui(window).ChartLeftAxis->min(), -109.75);
    QCOMPARE(Ui(window).ChartLeftAxis->max(), 2.0 * 109.75);
    for (const std::size_t n : {0, 3, 6, 9, 10, 11}) {  // the speeds and position 4
      emit Ui(window).Chart->legend()->markers(Ui(window).Series[n]).front()->clicked();
    }
    QCOMPARE(Ui(window).ChartLeftAxis->min(), 0.0);  // the outputs
    QCOMPARE(Ui(window).ChartLeftAxis->max(), 109.75 + 2.0);
    autoScale->click();
    QCOMPARE(Ui(window).ChartLeftAxis->max(), 1038.441641249998);
  }

  void exportsReadBack_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("PNG") << "chart.png";
    QTest::newRow("SVG") << "chart.svg";
    QTest::newRow("CSV") << "chart.csv";
    QTest::newRow("another name is a PNG") << "chart";
    QTest::newRow("a FIFO is refused") << "fifo.csv";
  }
  void exportsReadBack() {
    QFETCH(QString, name);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    ShowRunningChart(window);
    FeedCycles(window, 150, 1);
    emit Ui(window).Chart->legend()->markers(Ui(window).Series[0]).front()->clicked();  // speed 1 hidden
    const QString path = fixture.ConfigDir() + u'/' + name;
    if (name.startsWith(u"fifo")) {
      QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
    }
    {
      DialogAnswer answer(path);
      window.Control<TBitBtn>("ExportChartButton")->click();
      QCOMPARE(answer.Shown.size(), std::size_t{1});
    }
    if (name.startsWith(u"fifo")) {
      QCOMPARE(fixture.Boxes().size(), std::size_t{1});
      return;
    }
    QVERIFY(fixture.Boxes().empty());
    const QSize viewSize = Ui(window).Chart1->size();
    if (name.endsWith(u".svg")) {
      QSvgRenderer drawing(path);
      QVERIFY(drawing.isValid());
      QCOMPARE(drawing.viewBox().size(), viewSize);
      return;
    }
    if (!name.endsWith(u".csv")) {
      QImage picture;
      QVERIFY(picture.load(path, "PNG"));
      QCOMPARE(picture.size(), viewSize);
      return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.front(),
             QString::fromUtf8("Czas [s];Pozycja [1];Pozycja [2];Pozycja [3];Pozycja [4];"
                               "Prędkość [2];Prędkość [3];Prędkość [4];Wyjście [1];Wyjście [2];"
                               "Wyjście [3];Wyjście [4];Wyjście [5];"));
    // Every point shown between the axis' ends, in its column, as the read-outs write it.
    const QLocale polish(QLocale::Polish);
    const double from = Ui(window).ChartBottomAxis->min();
    const double to = Ui(window).ChartBottomAxis->max();
    const std::array<int, 12> order = {3, 6, 9, 12, 4, 7, 10, 2, 5, 8, 11, 13};
    for (std::size_t c = 0; c < order.size(); ++c) {
      QStringList expected;
      for (const QPointF& point : window.ChartLogic().Feed().Shown(order[c])) {
        if (point.x() >= from && point.x() <= to) {
          expected << polish.toString(point.y(), 'f', 2);
        }
      }
      QStringList written;
      for (const QString& line : lines.mid(1)) {
        const QString field = line.split(u';').at(static_cast<qsizetype>(c) + 1);
        if (!field.isEmpty()) {
          written << field;
        }
      }
      QCOMPARE(written, expected);
    }
  }
};

QTEST_MAIN(ChartOnRequestTest)
#include "tst_chart_on_request.moc"
