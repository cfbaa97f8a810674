// Channel frames into the read-outs, with the decimals and speed unit of the display options.

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QtTest>
#include <limits>

#include "app/widgets/DisplayRatePacer.h"
#include "app/widgets/ReadableColour.h"
#include "app/widgets/TReadoutEdit.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::ChannelFrameBytes;
using kvelt::apptest::Feed;
using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// Expected texts are written with a comma; the test runs under whatever separator the locale has.
QString Localized(const char* text) {
  QString result = QString::fromLatin1(text);
  return result.replace(u',', QLocale::system().decimalPoint());
}

QString IniValue(const QStringList& lines, const QString& key) {
  for (const QString& line : lines) {
    if (line.startsWith(key + u'=')) {
      return line.mid(key.size() + 1);
    }
  }
  return QString();
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int Paints = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++Paints;
    }
    return false;
  }
};

// Runs the event loop until nothing is left to do now (no waiting for timers).
void Settle() {
  for (int pass = 0; pass < 5; ++pass) {
    QCoreApplication::processEvents();
  }
}

}  // namespace

class ReadoutsTest : public QObject {
  Q_OBJECT

 private slots:
  void frameShowsPositionAndSpeed_data() {
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("unit");
    QTest::addColumn<float>("position");
    QTest::addColumn<float>("speed");
    QTest::addColumn<QString>("positionText");
    QTest::addColumn<QString>("speedText");
    QTest::newRow("two decimals") << 0 << 2 << 0 << 12.5f << 1.5f << Localized("12,50") << Localized("1,50");
    QTest::newRow("no decimals") << 1 << 0 << 0 << 12.5f << -0.25f << QStringLiteral("13")
                                 << QStringLiteral("0");
    QTest::newRow("negative, one decimal")
        << 2 << 1 << 2 << -0.25f << -2.0f << Localized("-0,3") << Localized("-2,0");
    QTest::newRow("per minute") << 3 << 2 << 1 << 0.1f << 1.5f << Localized("0,10") << Localized("90,00");
    QTest::newRow("mm per minute") << 1 << 2 << 3 << 0.0f << 1.5f << Localized("0,00") << Localized("90,00");
    QTest::newRow("single widened exactly")
        << 0 << 4 << 0 << 0.1f << 0.0f << Localized("0,1000") << Localized("0,0000");
    QTest::newRow("1e16, two decimals")
        << 0 << 2 << 0 << 1e16f << 0.0f << Localized("1,00000002725642E16") << Localized("0,00");
    QTest::newRow("1e16, four decimals")
        << 0 << 4 << 0 << 1e16f << 0.0f << Localized("1,00000002725642E0016") << Localized("0,0000");
    QTest::newRow("not a number") << 2 << 2 << 0 << std::numeric_limits<float>::quiet_NaN()
                                  << -std::numeric_limits<float>::infinity() << QStringLiteral("NAN")
                                  << QStringLiteral("INF");
  }

  void frameShowsPositionAndSpeed() {
    QFETCH(int, channel);
    QFETCH(int, decimals);
    QFETCH(int, unit);
    QFETCH(float, position);
    QFETCH(float, speed);
    QFETCH(QString, positionText);
    QFETCH(QString, speedText);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Ui(window).DivList->setCurrentIndex(decimals);
    Ui(window).UnitList->setCurrentIndex(unit);
    Feed(window, ChannelFrameBytes(channel, position, speed));
    QCOMPARE(Ui(window).PositionReadouts[static_cast<std::size_t>(channel)]->text(), positionText);
    QCOMPARE(Ui(window).SpeedReadouts[static_cast<std::size_t>(channel)]->text(), speedText);
    for (int other = 0; other < 4; ++other) {
      if (other != channel) {
        QVERIFY(Ui(window).PositionReadouts[static_cast<std::size_t>(other)]->text().isEmpty());
        QVERIFY(Ui(window).SpeedReadouts[static_cast<std::size_t>(other)]->text().isEmpty());
      }
    }
  }

  void unitSwitchChangesTheCaptionAtOnceAndSpeedsAtTheNextFrame() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Feed(window, ChannelFrameBytes(1, 3.0f, 1.5f));
    QCOMPARE(Ui(window).SpeedReadouts[1]->text(), Localized("1,50"));
    Ui(window).UnitList->setCurrentIndex(1);
    emit Ui(window).UnitList->activated(1);
    QCOMPARE(Ui(window).BoxPred->title(), Utf8("Prędkość [obr/min]"));
    QCOMPARE(Ui(window).BoxPos->title(), QStringLiteral("Pozycja [obr]"));
    QCOMPARE(IniValue(fixture.IniLines(), QStringLiteral("Unit")), QStringLiteral("1"));
    QCOMPARE(IniValue(fixture.IniLines(), QStringLiteral("Div")), QStringLiteral("2"));
    QCOMPARE(Ui(window).SpeedReadouts[1]->text(), Localized("1,50"));
    Feed(window, ChannelFrameBytes(1, 3.0f, 1.5f));
    QCOMPARE(Ui(window).SpeedReadouts[1]->text(), Localized("90,00"));
    QCOMPARE(window.Readings()[1].Speed, 90.0f);

    Ui(window).UnitList->setCurrentIndex(2);
    emit Ui(window).UnitList->activated(2);
    QCOMPARE(Ui(window).BoxPred->title(), Utf8("Prędkość [mm/s]"));
    QCOMPARE(Ui(window).BoxPos->title(), QStringLiteral("Pozycja [mm]"));
    QCOMPARE(Ui(window).GroupBox1->title(), Utf8("Rozdzielczość enkodera [imp/mm]"));
  }

  void decimalsChangeReformatsNothingUntilTheNextFrame() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Feed(window, ChannelFrameBytes(0, 12.5f, 1.0f));
    Ui(window).DivList->setCurrentIndex(4);
    emit Ui(window).DivList->activated(4);
    QCOMPARE(IniValue(fixture.IniLines(), QStringLiteral("Div")), QStringLiteral("4"));
    QCOMPARE(Ui(window).PositionReadouts[0]->text(), Localized("12,50"));
    Feed(window, ChannelFrameBytes(0, 12.5f, 1.0f));
    QCOMPARE(Ui(window).PositionReadouts[0]->text(), Localized("12,5000"));
  }

  void selectingFromCodeRunsNoChangeHandler() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QStringList before = fixture.IniLines();
    Ui(window).UnitList->setCurrentIndex(3);
    Ui(window).DivList->setCurrentIndex(0);
    QCOMPARE(Ui(window).BoxPred->title(), Utf8("Prędkość [obr/s]"));
    QCOMPARE(fixture.IniLines(), before);
  }

  void failedSettingsWriteShowsTheErrorAndKeepsTheCaptions() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QFile blocker(fixture.ConfigDir() + QStringLiteral("/blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window.SetIniPath(blocker.fileName() + QStringLiteral("/config.ini"));
    Ui(window).UnitList->setCurrentIndex(1);
    emit Ui(window).UnitList->activated(1);
    QCOMPARE(fixture.Boxes().size(), std::size_t{1});
    QCOMPARE(fixture.Boxes()[0].Text, Utf8("Nie można zapisać ustawień do pliku ") + window.IniPath() + u'.');
    QCOMPARE(Ui(window).BoxPred->title(), Utf8("Prędkość [obr/s]"));
    // The program carries on: the next frame still reaches the read-outs.
    Feed(window, ChannelFrameBytes(0, 1.0f, 1.5f));
    QCOMPARE(Ui(window).SpeedReadouts[0]->text(), Localized("90,00"));
  }

  void typedSpeedStaysUntilTheNextFrame() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Feed(window, ChannelFrameBytes(2, 4.0f, 2.0f));
    QLineEdit* speed = Ui(window).SpeedReadouts[2];
    QLineEdit* position = Ui(window).PositionReadouts[2];
    speed->setFocus();
    QTest::keyClicks(speed, QStringLiteral("77"));
    QCOMPARE(speed->text(), Localized("2,0077"));
    position->setFocus();
    QTest::keyClicks(position, QStringLiteral("77"));
    QCOMPARE(position->text(), Localized("4,00"));
    Feed(window, ChannelFrameBytes(1, 5.0f, 5.0f));  // another channel's frame leaves it
    QCOMPARE(speed->text(), Localized("2,0077"));
    Feed(window, ChannelFrameBytes(2, 4.0f, 2.5f));
    QCOMPARE(speed->text(), Localized("2,50"));
  }

  // Frames between two display ticks change the texts at once but paint nothing; the tick paints
  // each changed box once, and never the group boxes behind them.
  void readoutsRepaintOncePerDisplayTick() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Ui(window).ReadoutPacer->SetIntervalMs(24 * 3600 * 1000);  // the test gives the ticks itself
    Feed(window, ChannelFrameBytes(0, 0.0f, 0.0f));
    Ui(window).ReadoutPacer->Tick();
    Settle();
    PaintCounter position(Ui(window).PositionReadouts[0]);
    PaintCounter speed(Ui(window).SpeedReadouts[0]);
    PaintCounter otherChannel(Ui(window).PositionReadouts[1]);
    PaintCounter positions(Ui(window).BoxPos);
    PaintCounter speeds(Ui(window).BoxPred);
    PaintCounter page(Ui(window).TabSheet2);
    for (int n = 1; n <= 50; ++n) {
      Feed(window, ChannelFrameBytes(0, static_cast<float>(n), 0.5f * static_cast<float>(n)));
      Settle();
      QCOMPARE(Ui(window).PositionReadouts[0]->text(), QString::number(n) + Localized(",00"));
    }
    QCOMPARE(position.Paints, 0);
    QCOMPARE(speed.Paints, 0);
    QVERIFY(Ui(window).ReadoutPacer->TickPending());
    // A picture taken between ticks still shows the box, with the newest text.
    const QImage box = Ui(window).PositionReadouts[0]->grab().toImage();
    const QColor base = Ui(window).PositionReadouts[0]->palette().color(QPalette::Base);
    QCOMPARE(box.pixelColor(box.width() - 8, box.height() / 2), base);
    position.Paints = 0;

    Ui(window).ReadoutPacer->Tick();
    Settle();
    QCOMPARE(position.Paints, 1);
    QCOMPARE(speed.Paints, 1);
    QCOMPARE(otherChannel.Paints, 0);
    QCOMPARE(positions.Paints, 0);
    QCOMPARE(speeds.Paints, 0);
    QCOMPARE(page.Paints, 0);
    QVERIFY(Ui(window).PositionReadouts[0]->updatesEnabled());
    // A frame with the texts already shown asks for no paint at all.
    Feed(window, ChannelFrameBytes(0, 50.0f, 25.0f));
    QVERIFY(!Ui(window).ReadoutPacer->TickPending());
  }

  // Left to itself the display tick comes by its own timer, at the screen's refresh rate.
  void displayTickComesByItself() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(Ui(window).ReadoutPacer->IntervalMs(), kvelt::app::DisplayRatePacer::ScreenIntervalMs());
    QVERIFY(Ui(window).ReadoutPacer->IntervalMs() >= 4 && Ui(window).ReadoutPacer->IntervalMs() <= 50);
    Settle();
    PaintCounter speed(Ui(window).SpeedReadouts[3]);
    Feed(window, ChannelFrameBytes(3, 1.0f, 2.0f));
    QTRY_COMPARE(speed.Paints, 1);
    QVERIFY(Ui(window).SpeedReadouts[3]->updatesEnabled());
    QVERIFY(!Ui(window).ReadoutPacer->TickPending());
  }

  void reportsOutsideTheChannelFramesChangeNoReadout_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("size");
    QTest::newRow("code 99") << 99 << 31;
    QTest::newRow("code 118") << 118 << 31;
    QTest::newRow("short channel frame") << 100 << 30;
  }

  void reportsOutsideTheChannelFramesChangeNoReadout() {
    QFETCH(int, code);
    QFETCH(int, size);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    std::vector<quint8> report = ChannelFrameBytes(0, 1.0f, 1.0f);
    report[0] = static_cast<quint8>(code);
    report.resize(static_cast<std::size_t>(size));
    Feed(window, report);
    QVERIFY(Ui(window).PositionReadouts[0]->text().isEmpty());
    QCOMPARE(window.Readings()[0].Position, 0.0f);
  }

  // Every read-out colour (position, speed, an old value) is readable, 4.5:1 or more, on a light
  // and on a dark background, and follows a change of palette.
  void readoutColoursAreReadableOnLightAndDark_data() {
    QTest::addColumn<QColor>("background");
    QTest::newRow("light") << QColor(Qt::white);
    QTest::newRow("dark") << QColor(0x2d, 0x2d, 0x2d);
    QTest::newRow("mid grey") << QColor(0x80, 0x80, 0x80);
  }

  void readoutColoursAreReadableOnLightAndDark() {
    QFETCH(QColor, background);
    using kvelt::app::ReadableColour;
    WindowFixture fixture;
    auto controls = Ui(fixture.Window());
    for (TReadoutEdit* box : {controls.PositionReadouts[0], controls.SpeedReadouts[0]}) {
      QPalette colours = box->palette();
      colours.setColor(QPalette::Base, background);
      box->setPalette(colours);
      for (const bool stale : {false, true}) {
        box->SetStale(stale, QStringLiteral("old"));
        const QColor text = box->palette().color(QPalette::Text);
        QVERIFY2(ReadableColour::Contrast(text, background) >= ReadableColour::kMinimumContrast,
                 qPrintable(box->objectName() + u' ' + text.name()));
      }
      box->SetStale(false);
    }
    // A colour that is readable already stays as it is.
    QCOMPARE(ReadableColour::On(QColor(Qt::black), QColor(Qt::white)), QColor(Qt::black));
  }

  // The five lamps follow the output-state byte of channel 4's frames (other channels' bytes do
  // not count); each tooltip says the output's state, and that its rule has not been read yet.
  void outputLampsFollowChannelFourFrames() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    std::vector<quint8> frame = ChannelFrameBytes(3, 0.0f, 0.0f);
    frame[30] = 0x15;  // outputs 1, 3 and 5
    Feed(window, frame);
    std::vector<quint8> other = ChannelFrameBytes(0, 0.0f, 0.0f);
    other[30] = 0x0A;
    Feed(window, other);
    for (int k = 1; k <= 5; ++k) {
      auto* lamp = window.Control<QLabel>(qPrintable(QStringLiteral("OutputLamp%1").arg(k)));
      const bool active = k % 2 == 1;
      QCOMPARE(lamp->font().bold(), active);
      QVERIFY2(lamp->toolTip().startsWith(Utf8("Wyjście %1: %2; reguła nieodczytana")
                                              .arg(k)
                                              .arg(Utf8(active ? "aktywne" : "nieaktywne"))),
               qPrintable(lamp->toolTip()));
    }
  }
};

QTEST_MAIN(ReadoutsTest)
#include "tst_readouts.moc"
