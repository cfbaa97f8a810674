// A line recorded by the window and one recorded by the command line are the same bytes for the
// same frames and options.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QtTest>
#include <cmath>
#include <limits>

#include "app/widgets/TBitBtn.h"
#include "cli/CounterReplies.h"
#include "measure/qt/LineRecorder.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::ChannelFrameBytes;
using kvelt::apptest::Feed;
using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Frames of all four channels, several rounds, with values that test the formatting: fractions
// that round, negatives, a value too wide for fixed point, NaN and an infinity.
std::vector<std::vector<quint8>> Frames() {
  const float values[] = {0.0f,        1.005f,
                          -2.5f,       123456.789f,
                          1.0e17f,     std::numeric_limits<float>::quiet_NaN(),
                          -0.0049f,    std::numeric_limits<float>::infinity(),
                          7.0f / 3.0f, -1.0e-9f};
  std::vector<std::vector<quint8>> frames;
  int index = 0;
  for (int round = 0; round < 25; ++round) {
    for (int channel = 0; channel < 4; ++channel) {
      const float position = values[index++ % 10] * static_cast<float>(channel + 1);
      const float speed = values[(index + 3) % 10] - static_cast<float>(round);
      frames.push_back(ChannelFrameBytes(channel, position, speed));
    }
  }
  return frames;
}

}  // namespace

class CliRecordingTest : public QObject {
  Q_OBJECT

 private slots:
  void sameBytesAsTheWindow_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("period");
    QTest::addColumn<bool>("date");
    QTest::addColumn<QList<int>>("columns");  // 0..3 positions, 4..7 speeds
    QTest::newRow("rev/s, 2 decimals, every frame, all")
        << 0 << 2 << 0 << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("rev/min, 0 decimals, 100 ms, date") << 1 << 0 << 1 << true << QList<int>{0, 5};
    QTest::newRow("mm/min, 4 decimals, every frame, speeds")
        << 3 << 4 << 0 << false << QList<int>{4, 5, 6, 7};
    QTest::newRow("mm/s, 1 decimal, no value column, date") << 2 << 1 << 0 << true << QList<int>{};
  }

  void sameBytesAsTheWindow() {
    QFETCH(int, unit);
    QFETCH(int, decimals);
    QFETCH(int, period);
    QFETCH(bool, date);
    QFETCH(QList<int>, columns);

    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Ui(window).UnitList->setCurrentIndex(unit);
    Ui(window).DivList->setCurrentIndex(decimals);
    Ui(window).ComboBox_SavePeriod->setCurrentIndex(period);
    Ui(window).save_date->setChecked(date);
    Ui(window).save_time->setChecked(false);
    kvelt::RecordColumns chosen;
    chosen.Date = date;
    for (int k = 0; k < 4; ++k) {
      Ui(window).save_pos[k]->setChecked(columns.contains(k));
      Ui(window).save_ver[k]->setChecked(columns.contains(k + 4));
      chosen.Position[static_cast<std::size_t>(k)] = columns.contains(k);
      chosen.Speed[static_cast<std::size_t>(k)] = columns.contains(k + 4);
    }
    const QString windowFile = fixture.ConfigDir() + "/window.csv";
    const QString cliFile = fixture.ConfigDir() + "/cli.csv";
    Ui(window).save_file->setText(windowFile);
    window.SaveButtonClick(Ui(window).SaveButton);
    QVERIFY(window.RecordingLogic().Recording());

    kvelt::cli::CounterReplies replies(unit);
    kvelt::RecordTarget target;
    target.Path = QFile::encodeName(cliFile).toStdString();
    target.Columns = chosen;
    target.Decimals = decimals;
    kvelt::LineRecorder recorder([&target] { return target; });
    replies.OnChannelFrame = [&recorder](int channel) { recorder.NoteChannelFrame(channel); };
    replies.OnChannel4Frame = [&] {
      return recorder.OnChannel4Frame(period, true, replies.Readings()) !=
             kvelt::LineRecorder::Outcome::OpenFailed;
    };
    for (const std::vector<quint8>& frame : Frames()) {
      Feed(window, frame);
      replies.Dispatch(frame.data(), frame.size());
    }
    const QByteArray windowBytes = FileBytes(windowFile);
    QVERIFY(!windowBytes.isEmpty());
    QCOMPARE(FileBytes(cliFile), windowBytes);
    QCOMPARE(recorder.LinesWritten(), static_cast<long long>(windowBytes.count("\r\n")));
  }
};

QTEST_MAIN(CliRecordingTest)
#include "tst_cli_recording.moc"
