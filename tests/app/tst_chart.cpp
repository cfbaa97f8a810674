// The hidden chart page: points, time step, axis window, run/stop, clear, picture, bounded memory.

#include <QImage>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include "app/widgets/SaveDialogRunner.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "measure/qt/ChartFeed.h"
#include "measure/qt/ChartSeriesBuffer.h"
#include "protocol/ChannelFrame.h"
#include "tests/app/support/SaveDialogAnswer.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::ChannelFrameBytes;
using kvelt::apptest::Feed;
using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

std::vector<quint8> ChannelFourFrame(float position, float speed, std::uint8_t outputs) {
  kvelt::ChannelFrame frame;
  frame.Code = 103;
  frame.Position = position;
  frame.Speed = speed;
  frame.OutputState = outputs;
  const auto bytes = kvelt::EncodeChannelFrame(frame);
  return {bytes.begin(), bytes.end()};
}

void RunChart(TFMain& window) {
  window.PlayButtonClick(Ui(window).PlayButton);
  QVERIFY(window.ChartRunning());
}

int TotalPoints(const TFMain& window) {
  int total = 0;
  for (QLineSeries* series : Ui(window).Series) {
    total += static_cast<int>(series->count());
  }
  return total;
}

}  // namespace

class ChartTest : public QObject {
  Q_OBJECT

 private slots:
  // The caption offers the opposite of the chart's state from the start and after a language
  // change (whose table gives the design-time "Stop chart"), so the first click runs the chart.
  void playButtonOffersTheOtherState() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QCOMPARE(Ui(window).PlayButton->text(), QStringLiteral("Uruchom wykres"));
    QVERIFY(!window.ChartRunning());
    Ui(window).PlayButton->click();
    QVERIFY(window.ChartRunning());
    QCOMPARE(Ui(window).PlayButton->text(), QStringLiteral("Zatrzymaj wykres"));
    Ui(window).PlayButton->click();
    QVERIFY(!window.ChartRunning());
    window.ActivateLanguage(2);
    QCOMPARE(Ui(window).PlayButton->text(), QStringLiteral("Run chart"));
    Ui(window).PlayButton->click();
    QVERIFY(window.ChartRunning());
    QCOMPARE(Ui(window).PlayButton->text(), QStringLiteral("Stop chart"));
  }

  void stoppedChartIgnoresFrames() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    for (int i = 0; i < 1000; ++i) {
      Feed(window, ChannelFourFrame(1.0f, 2.0f, 0x1F));
    }
    window.ChartLogic().Flush();
    QCOMPARE(window.ChartLogic().Time(), 0.0f);
    QCOMPARE(TotalPoints(window), 0);
  }

  void timeStepAndWindow() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    RunChart(window);
    for (int i = 0; i < 99; ++i) {
      Feed(window, ChannelFourFrame(0.0f, 0.0f, 0));
    }
    window.ChartLogic().Flush();
    QCOMPARE(static_cast<double>(window.ChartLogic().Time()), 9.900001525878906);
    QVERIFY(!window.ChartLogic().Feed().TimeWindowSet());
    QCOMPARE(Ui(window).ChartBottomAxis->min(), 0.0);  // follows the data
    QCOMPARE(Ui(window).ChartBottomAxis->max(), 9.900001525878906);
    Feed(window, ChannelFourFrame(0.0f, 0.0f, 0));
    window.ChartLogic().Flush();
    QCOMPARE(static_cast<double>(window.ChartLogic().Time()), 10.000001907348633);
    QCOMPARE(Ui(window).ChartBottomAxis->min(), 10.000001907348633 - 10.0);  // 0.0000019073486328125
    QCOMPARE(Ui(window).ChartBottomAxis->max(), 10.000001907348633);
    Feed(window, ChannelFourFrame(0.0f, 0.0f, 0));
    window.ChartLogic().Flush();
    QCOMPARE(Ui(window).ChartBottomAxis->max(), static_cast<double>(window.ChartLogic().Time()));
  }

  void channelPointsAtOldTimeOutputsAtNew() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    RunChart(window);
    Feed(window, ChannelFrameBytes(1, 7.0f, 8.0f));
    Feed(window, ChannelFourFrame(3.0f, -4.0f, 0x15 | 0xE0));
    window.ChartLogic().Flush();
    QCOMPARE(Ui(window).Series[5]->at(0), QPointF(0.0, 7.0));   // Series6, position 2
    QCOMPARE(Ui(window).Series[3]->at(0), QPointF(0.0, 8.0));   // Series4, speed 2
    QCOMPARE(Ui(window).Series[11]->at(0), QPointF(0.0, 3.0));  // Series12, position 4
    QCOMPARE(Ui(window).Series[9]->at(0), QPointF(0.0, -4.0));  // Series10, speed 4
    const double now = static_cast<double>(0.1f);
    const std::array<int, 5> outputSeries = {2, 5, 8, 11, 13};
    const std::array<double, 5> expected = {1, 0, 1, 0, 1};
    for (std::size_t n = 0; n < 5; ++n) {
      QLineSeries* series = Ui(window).Series[static_cast<std::size_t>(outputSeries[n] - 1)];
      QCOMPARE(series->count(), 1);
      QCOMPARE(series->at(0), QPointF(now, expected[n]));
    }
    QCOMPARE(Ui(window).Series[0]->count(), 0);  // channel 1 sent nothing
    QCOMPARE(Ui(window).ChartLeftAxis->min(), -4.0);
  }

  void clearRefillsFromTheFirstStep() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    RunChart(window);
    for (int i = 0; i < 150; ++i) {
      Feed(window, ChannelFourFrame(1.0f, 1.0f, 1));
    }
    window.ChartLogic().Flush();
    const double windowMin = Ui(window).ChartBottomAxis->min();
    Ui(window).ClearButton->click();
    QCOMPARE(window.ChartLogic().Time(), 0.0f);
    QCOMPARE(TotalPoints(window), 0);
    Feed(window, ChannelFourFrame(1.0f, 1.0f, 1));
    Feed(window, ChannelFourFrame(1.0f, 1.0f, 1));
    window.ChartLogic().Flush();
    QCOMPARE(Ui(window).Series[1]->at(0).x(), static_cast<double>(0.1f));
    QCOMPARE(Ui(window).Series[11]->at(1).x(), static_cast<double>(0.1f));
    QCOMPARE(Ui(window).ChartBottomAxis->min(), windowMin);  // the old window stays
  }

  // On screen, the points reach the chart at display rate, not with every frame.
  void pointsReachTheChartAtDisplayRate() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    Ui(window).PageControl1->setCurrentWidget(Ui(window).TabSheet1);
    Ui(window).Chart1->setVisible(true);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.ChartLogic().Feed().OnScreen());
    RunChart(window);
    Feed(window, ChannelFourFrame(1.0f, 1.0f, 1));
    QCOMPARE(Ui(window).Series[11]->count(), 0);
    QVERIFY(window.ChartLogic().Feed().FlushScheduled());
    QTRY_COMPARE(Ui(window).Series[11]->count(), 1);
    QVERIFY(!window.ChartLogic().Feed().FlushScheduled());
  }

  // Off screen (as the page always is in use) the chart is left alone, however long it runs;
  // shown, it gets every point and the time window at once.
  void chartOffScreenGetsThePointsWhenShown() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    RunChart(window);
    for (int i = 0; i < 150; ++i) {
      Feed(window, ChannelFourFrame(static_cast<float>(i), 1.0f, 1));
    }
    QVERIFY(!window.ChartLogic().Feed().OnScreen());
    QVERIFY(!window.ChartLogic().Feed().FlushScheduled());
    QTest::qWait(3 * kvelt::ChartFeed::kFlushIntervalMs);
    QCOMPARE(TotalPoints(window), 0);
    QCOMPARE(Ui(window).ChartBottomAxis->max(), 10.0);  // as built
    Ui(window).PageControl1->setCurrentWidget(Ui(window).TabSheet1);
    Ui(window).Chart1->setVisible(true);
    QCOMPARE(Ui(window).Series[11]->count(), window.ChartLogic().Feed().Buffer(12).Size());
    QCOMPARE(Ui(window).Series[11]->points().constLast().y(), 149.0);
    QCOMPARE(Ui(window).ChartBottomAxis->max(), static_cast<double>(window.ChartLogic().Time()));
    QCOMPARE(Ui(window).ChartBottomAxis->min(), static_cast<double>(window.ChartLogic().Time()) - 10.0);
  }

  void savePicture() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    RunChart(window);
    for (int i = 0; i < 50; ++i) {
      Feed(window, ChannelFourFrame(static_cast<float>(i), 1.0f, static_cast<std::uint8_t>(i)));
    }
    const QString path = fixture.ConfigDir() + QStringLiteral("/chart.bmp");
    {
      DialogAnswer answer(std::nullopt);
      Ui(window).SaveChartButton->click();
      QCOMPARE(answer.Shown.size(), std::size_t{1});
      QCOMPARE(answer.Shown[0], Ui(window).SaveDialogBitmap);
    }
    QVERIFY(QDir(fixture.ConfigDir()).entryList({QStringLiteral("*.bmp")}).isEmpty());
    {
      DialogAnswer answer(path);
      Ui(window).SaveChartButton->click();
    }
    QImage picture;
    QVERIFY(picture.load(path, "BMP"));
    QVERIFY(picture.width() >= 100 && picture.height() >= 100);
    QCOMPARE(Ui(window).Series[11]->count(), 50);  // saved with every point
    QVERIFY(fixture.Boxes().empty());
    {
      DialogAnswer answer(fixture.ConfigDir() + QStringLiteral("/missing/chart.bmp"));
      Ui(window).SaveChartButton->click();
    }
    QCOMPARE(fixture.Boxes().size(), std::size_t{1});
  }

  void bufferKeepsTheNewestPoints() {
    kvelt::ChartSeriesBuffer buffer(10, 4);
    for (int i = 0; i < 14; ++i) {
      buffer.Append(QPointF(i, -i));
    }
    QCOMPARE(buffer.Size(), 14);
    buffer.Append(QPointF(14, 5));
    QCOMPARE(buffer.Size(), 11);
    QCOMPARE(buffer.Points().front().x(), 4.0);
    QCOMPARE(*buffer.MinimumY(), -13.0);
    buffer.Append(QPointF(15, std::numeric_limits<double>::quiet_NaN()));
    QCOMPARE(*buffer.MinimumY(), -13.0);
    buffer.Clear();
    QVERIFY(!buffer.MinimumY());
  }

  void bufferDropsWhatLeftTheWindow_data() {
    QTest::addColumn<double>("cut");
    QTest::addColumn<int>("size");
    QTest::addColumn<double>("front");
    QTest::addColumn<double>("minimumY");
    QTest::addColumn<bool>("changed");
    // Points x = 0..9 with y = 9 - x: the smallest y sits at the newest point, except y(2) = -5.
    QTest::newRow("below every point") << -1.0 << 10 << 0.0 << -5.0 << false;
    QTest::newRow("at a point keeps it") << 2.0 << 8 << 2.0 << -5.0 << true;
    QTest::newRow("between points, the minimum goes") << 2.5 << 7 << 3.0 << 0.0 << true;
    QTest::newRow("above every point") << 10.0 << 0 << 0.0 << 0.0 << true;
  }

  void bufferDropsWhatLeftTheWindow() {
    QFETCH(double, cut);
    QFETCH(int, size);
    QFETCH(double, front);
    QFETCH(double, minimumY);
    QFETCH(bool, changed);
    kvelt::ChartSeriesBuffer buffer(100, 10);
    for (int x = 0; x < 10; ++x) {
      buffer.Append(QPointF(x, x == 2 ? -5.0 : 9.0 - x));
    }
    buffer.MarkPresented();
    buffer.DropOlderThan(cut);
    QCOMPARE(buffer.Size(), size);
    QCOMPARE(buffer.Changed(), changed);
    if (size == 0) {
      QVERIFY(!buffer.MinimumY());
      return;
    }
    QCOMPARE(buffer.Points().front().x(), front);
    QCOMPARE(buffer.Points().back().x(), 9.0);
    QCOMPARE(*buffer.MinimumY(), minimumY);
  }

  // A running chart holds one time window of points plus the margin left of it, with every
  // frame inside the window still there.
  void seriesHoldTheWindowAndItsMargin() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    RunChart(window);
    for (int i = 0; i < 400; ++i) {
      Feed(window, ChannelFrameBytes(0, static_cast<float>(i), 0.0f));
      Feed(window, ChannelFourFrame(static_cast<float>(i), 0.0f, 1));
    }
    window.ChartLogic().Flush();
    const double left = Ui(window).ChartBottomAxis->min();
    const double margin = kvelt::ChartFeed::kWindowMargin;
    QCOMPARE(Ui(window).ChartBottomAxis->max(), static_cast<double>(window.ChartLogic().Time()));
    for (const int number : {3, 12, 2}) {
      const QList<QPointF> points = window.ChartLogic().Feed().Shown(number);
      QVERIFY2(points.size() <= 112, qPrintable(QString::number(points.size())));
      QVERIFY(points.front().x() >= left - margin - 1e-3);
      QVERIFY(points.front().x() < left);  // the line still enters from the left edge
      const auto inside =
          std::count_if(points.cbegin(), points.cend(), [&](const QPointF& p) { return p.x() >= left; });
      QVERIFY2(inside >= 100 && inside <= 101, qPrintable(QString::number(inside)));
    }
    QCOMPARE(Ui(window).Series[2]->points().constLast().y(), 399.0);   // Series3, position 1
    QCOMPARE(Ui(window).Series[11]->points().constLast().y(), 399.0);  // Series12, position 4
  }

  // Points that come without the time moving on (no channel-4 frames) are bounded by count,
  // the newest kept.
  void pointsWithoutTimeStepsAreBoundedByCount() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    RunChart(window);
    for (int i = 0; i < 5000; ++i) {
      Feed(window, ChannelFrameBytes(0, static_cast<float>(i), 1.0f));
    }
    window.ChartLogic().Flush();
    const auto& buffer = window.ChartLogic().Feed().Buffer(3);
    QVERIFY(buffer.Size() >= kvelt::ChartSeriesBuffer::kDefaultCapacity);
    QVERIFY(buffer.Size() <= buffer.MaximumSize());
    QCOMPARE(Ui(window).Series[2]->count(), buffer.Size());
    QCOMPARE(Ui(window).Series[2]->points().constLast().y(), 4999.0);
  }

  void memoryStaysFlat() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    RunChart(window);
    qsizetype highest = 0;
    for (int frame = 0; frame < 1000000; ++frame) {
      window.AddChannelChartPoints(frame % 4);
      if (frame % 4 == 3) {
        window.ChartTimeStep();
        window.AddOutputChartPoints(static_cast<std::uint8_t>(frame));
      }
      if (frame % 100000 == 0) {
        window.ChartLogic().Flush();
      }
    }
    window.ChartLogic().Flush();
    for (int n = 1; n <= TFMain::kSeriesCount; ++n) {
      const auto& buffer = window.ChartLogic().Feed().Buffer(n);
      QVERIFY2(buffer.Size() >= 100 && buffer.Size() <= 112, qPrintable(QString::number(buffer.Size())));
      highest = std::max<qsizetype>(highest, Ui(window).Series[static_cast<std::size_t>(n - 1)]->count());
    }
    QVERIFY(highest <= 112);
    // The newest output point carries the newest time.
    QCOMPARE(Ui(window).Series[1]->points().constLast().x(), static_cast<double>(window.ChartLogic().Time()));
  }
};

QTEST_MAIN(ChartTest)
#include "tst_chart.moc"
