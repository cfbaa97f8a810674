// Recording end to end: the window on the simulated counter, recording at "10 ms" for a second
// (longer on a busy machine).

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/pages/ChartPage.h"
#include "app/pages/RecordingPage.h"
#include "app/widgets/AppFonts.h"
#include "app/widgets/TBitBtn.h"
#include "tests/app/support/WindowControls.h"

using kvelt::apptest::Ui;

namespace {

// Runs the event loop for `ms` milliseconds.
void RunEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

class RecordingSimulatedTest : public QObject {
  Q_OBJECT

 private slots:
  void secondOfLinesFromTheSimulatedCounter() {
    kvelt::app::AppFonts::EnsureTahoma();
    const kvelt::app::MessageBoxPresenter previous =
        kvelt::app::SetMessageBoxPresenter([](const kvelt::app::MessageBoxRequest&) {});
    QTemporaryDir dir;
    kvelt::app::ProgramOptions options;
    options.ConfigDir = dir.path();
    options.Simulate = true;
    {
      TFMain window(options);
      // Channel 2 of the simulated counter turns at 1 revolution per second.
      QTRY_COMPARE_WITH_TIMEOUT(window.Readings()[1].Speed, 1.0f, 5000);
      Ui(window).DivList->setCurrentIndex(2);
      Ui(window).UnitList->setCurrentIndex(0);
      Ui(window).save_date->setChecked(true);
      Ui(window).save_time->setChecked(true);
      for (int c = 0; c < 4; ++c) {
        Ui(window).save_pos[static_cast<std::size_t>(c)]->setChecked(c == 1);
        Ui(window).save_ver[static_cast<std::size_t>(c)]->setChecked(c == 1);
      }
      const QString path = dir.filePath(QStringLiteral("sim.csv"));
      Ui(window).save_file->setText(path);
      Ui(window).ComboBox_SavePeriod->setCurrentIndex(0);
      QElapsedTimer elapsed;
      elapsed.start();
      Ui(window).SaveButton->click();
      QVERIFY(window.RecordingLogic().Recording());
      // A second of lines at about 100 channel-4 frames a second; a busy machine (a sanitizer
      // build beside other work) gets more time to record its first thirty. The wait is a real
      // event loop, as the program runs: QTest::qWait sleeps between its passes over the events,
      // which starves the 400 reports a second of the simulated counter.
      const auto lineCount = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : qsizetype{0};
      };
      RunEventLoop(1000);
      for (int waited = 0; waited < 10000 && lineCount() < 30; waited += 100) {
        RunEventLoop(100);
      }
      QVERIFY(lineCount() >= 30);
      Ui(window).SaveButton->click();
      QVERIFY(!window.RecordingLogic().Recording());
      const qint64 recordedMs = elapsed.elapsed();

      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray bytes = file.readAll();
      QVERIFY(bytes.endsWith("\r\n"));
      QList<QByteArray> lines = bytes.split('\n');
      lines.removeLast();  // after the last line break
      // Never more than one line per 10 ms tick, whatever the machine's load.
      QVERIFY2(lines.size() >= 30 && lines.size() <= recordedMs / 10 + 30,
               qPrintable(QStringLiteral("%1 lines in %2 ms").arg(lines.size()).arg(recordedMs)));
      const QString sep = QRegularExpression::escape(QString(QLocale::system().decimalPoint()));
      const QRegularExpression shape(QStringLiteral("^[^;]+;[^;]+;-?\\d+") + sep +
                                     QStringLiteral("\\d\\d;1") + sep + QStringLiteral("00;\\r$"));
      for (const QByteArray& line : lines) {
        QVERIFY2(shape.match(QString::fromUtf8(line)).hasMatch(), line.constData());
        QVERIFY2(line.endsWith('\r'), line.constData());
      }
    }
    kvelt::app::SetMessageBoxPresenter(previous);
  }
};

QTEST_MAIN(RecordingSimulatedTest)
#include "tst_recording_simulated.moc"
