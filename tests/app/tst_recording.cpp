// Recording through the window: lines, pacing, failures, the start/stop button and the file choice.

#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <QToolButton>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include "app/widgets/SaveDialogRunner.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "measure/qt/RecordClock.h"
#include "tests/app/support/SaveDialogAnswer.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::ChannelFrameBytes;
using kvelt::apptest::Feed;
using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// What the status shows when a line cannot be written.
QString RetryMessage(const QString& path, const QString& reason) {
  return Utf8("Błąd zapisu do pliku %1: %2. Rejestracja trwa, kolejna próba przy następnym zapisie.")
      .arg(path, reason);
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Ticks only the given columns (indexes 0 date, 1 time, 2..5 positions, 6..9 speeds).
void TickOnly(TFMain& window, std::initializer_list<int> ticked) {
  std::array<QCheckBox*, 10> boxes = {Ui(window).save_date,   Ui(window).save_time,   Ui(window).save_pos[0],
                                      Ui(window).save_pos[1], Ui(window).save_pos[2], Ui(window).save_pos[3],
                                      Ui(window).save_ver[0], Ui(window).save_ver[1], Ui(window).save_ver[2],
                                      Ui(window).save_ver[3]};
  for (QCheckBox* box : boxes) {
    box->setChecked(false);
  }
  for (int index : ticked) {
    boxes[static_cast<std::size_t>(index)]->setChecked(true);
  }
}

// One frame of channels 1..3, so that a line of any columns may be written at the next channel-4 frame.
void HearChannelsOneToThree(TFMain& window) {
  for (int channel = 0; channel < 3; ++channel) {
    Feed(window, ChannelFrameBytes(channel, 0.0f, 0.0f));
  }
}

void StartRecording(TFMain& window, const QString& file, int period) {
  Ui(window).save_file->setText(file);
  Ui(window).ComboBox_SavePeriod->setCurrentIndex(period);
  window.SaveButtonClick(Ui(window).SaveButton);
  QVERIFY(window.RecordingLogic().Recording());
}

bool FileIsOpenHere(const QString& path) {
  const QString target = QFileInfo(path).canonicalFilePath();
  const QDir fds(QStringLiteral("/proc/self/fd"));
  for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
    if (QFileInfo(fds.filePath(fd)).symLinkTarget() == target) {
      return true;
    }
  }
  return false;
}

}  // namespace

class RecordingTest : public QObject {
  Q_OBJECT

 private slots:
  void lineHasTheTickedColumns_data() {
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QByteArray>("line");
    const QByteArray comma = QByteArray(1, QLocale::system().decimalPoint().toLatin1().at(0));
    QTest::newRow("position 1 and speed 4")
        << QList<int>{2, 9} << QByteArray("1" + comma + "50;-2" + comma + "00;\r\n");
    QTest::newRow("no column") << QList<int>{} << QByteArray("\r\n");
    QTest::newRow("pairs per channel")
        << QList<int>{3, 7, 6} << QByteArray("0" + comma + "00;0" + comma + "00;3" + comma + "00;\r\n");
    // Channel 3 sent no frame: its zero is where readings start, not a measurement.
    QTest::newRow("a channel not heard from: no line") << QList<int>{2, 4} << QByteArray();
  }

  void lineHasTheTickedColumns() {
    QFETCH(QList<int>, ticked);
    QFETCH(QByteArray, line);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Ui(window).DivList->setCurrentIndex(2);
    TickOnly(window, {});
    std::array<QCheckBox*, 10> boxes = {
        Ui(window).save_date,   Ui(window).save_time,   Ui(window).save_pos[0], Ui(window).save_pos[1],
        Ui(window).save_pos[2], Ui(window).save_pos[3], Ui(window).save_ver[0], Ui(window).save_ver[1],
        Ui(window).save_ver[2], Ui(window).save_ver[3]};
    for (int index : ticked) {
      boxes[static_cast<std::size_t>(index)]->setChecked(true);
    }
    const QString path = fixture.ConfigDir() + QStringLiteral("/rec.csv");
    StartRecording(window, path, 0);
    Feed(window, ChannelFrameBytes(0, 1.5f, 0.0f));
    Feed(window, ChannelFrameBytes(1, 0.0f, 3.0f));
    Feed(window, ChannelFrameBytes(3, 0.0f, -2.0f));
    QCOMPARE(FileBytes(path), line);
  }

  void dateAndTimeFollowTheLocale() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    TickOnly(window, {0, 1});
    const QString path = fixture.ConfigDir() + QStringLiteral("/rec.csv");
    StartRecording(window, path, 0);
    const QString before = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    Feed(window, ChannelFrameBytes(3, 0.0f, 0.0f));
    const QString after = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const QStringList fields = QString::fromUtf8(FileBytes(path)).split(u';');
    QCOMPARE(fields.size(), 3);
    QCOMPARE(fields[2], QStringLiteral("\r\n"));
    QVERIFY(fields[0] == QString(before).replace(u'-', u':') ||
            fields[0] == QString(after).replace(u'-', u':'));
    const QString format = kvelt::RecordClock().TimeFormat();
    QVERIFY(!format.contains(u't'));
    QVERIFY2(QTime::fromString(fields[1], format).isValid(),
             qPrintable(fields[1] + QStringLiteral(" / ") + format));
  }

  void pinnedTimeZoneKeepsTheLocalTime_data() {
    QTest::addColumn<QByteArray>("tz");  // null: unset
    QTest::addColumn<QByteArray>("pinned");
    QTest::newRow("unset") << QByteArray() << QByteArray(":/etc/localtime");
    QTest::newRow("set by the user") << QByteArray("Europe/Warsaw") << QByteArray("Europe/Warsaw");
    QTest::newRow("set empty") << QByteArray("") << QByteArray("");
  }

  void pinnedTimeZoneKeepsTheLocalTime() {
    QFETCH(QByteArray, tz);
    QFETCH(QByteArray, pinned);
    const bool wasSet = qEnvironmentVariableIsSet("TZ");
    const QByteArray previous = qgetenv("TZ");
    if (tz.isNull()) {
      qunsetenv("TZ");
    } else {
      qputenv("TZ", tz);
    }
    // Winter and summer: the offsets from UTC the local time has before and after.
    const auto offsets = [] {
      return QList<int>{QDateTime::fromSecsSinceEpoch(1700000000).offsetFromUtc(),
                        QDateTime::fromSecsSinceEpoch(1720000000).offsetFromUtc(),
                        QDateTime::currentDateTime().offsetFromUtc()};
    };
    const QList<int> before = offsets();
    kvelt::RecordClock::PinLocalTimeZone();
    const QByteArray after = qgetenv("TZ");
    const bool afterSet = qEnvironmentVariableIsSet("TZ");
    const QList<int> offsetsAfter = offsets();
    if (wasSet) {
      qputenv("TZ", previous);
    } else {
      qunsetenv("TZ");
    }
    QVERIFY(afterSet);
    QCOMPARE(after, pinned);
    QCOMPARE(offsetsAfter, before);
  }

  void timeFormatLosesItsZone_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("after") << "HH:mm:ss t"
                           << "HH:mm:ss";
    QTest::newRow("long zone") << "h:mm:ss AP tttt"
                               << "h:mm:ss AP";
    QTest::newRow("before") << "t HH:mm:ss"
                            << "HH:mm:ss";
    QTest::newRow("quoted t kept") << "HH 'at' mm"
                                   << "HH 'at' mm";
    QTest::newRow("none") << "HH:mm:ss"
                          << "HH:mm:ss";
  }

  void timeFormatLosesItsZone() {
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(kvelt::RecordClock::WithoutTimeZone(format), expected);
  }

  void periodCountsChannelFourFramesOnly_data() {
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("lines");
    QTest::newRow("10 ms") << 0 << 25 << 25;
    QTest::newRow("100 ms") << 1 << 95 << 9;
    QTest::newRow("1 s") << 2 << 250 << 2;
  }

  void periodCountsChannelFourFramesOnly() {
    QFETCH(int, period);
    QFETCH(int, frames);
    QFETCH(int, lines);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    TickOnly(window, {9});
    const QString path = fixture.ConfigDir() + QStringLiteral("/rec.csv");
    StartRecording(window, path, period);
    for (int i = 0; i < frames; ++i) {
      Feed(window, ChannelFrameBytes(0, 1.0f, 1.0f));
      Feed(window, ChannelFrameBytes(1, 1.0f, 1.0f));
      Feed(window, ChannelFrameBytes(2, 1.0f, 1.0f));
      Feed(window, ChannelFrameBytes(3, 1.0f, 1.0f));
    }
    QCOMPARE(FileBytes(path).count("\r\n"), lines);
    QVERIFY(!FileIsOpenHere(path));
  }

  void fileIsReopenedForEveryLine() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    TickOnly(window, {});
    const QString path = fixture.ConfigDir() + QStringLiteral("/rec.csv");
    StartRecording(window, path, 0);
    Feed(window, ChannelFrameBytes(3, 0.0f, 0.0f));
    QVERIFY(QFile::rename(path, path + QStringLiteral(".old")));
    Feed(window, ChannelFrameBytes(3, 0.0f, 0.0f));
    QCOMPARE(FileBytes(path), QByteArray("\r\n"));
    QCOMPARE(FileBytes(path + QStringLiteral(".old")), QByteArray("\r\n"));
  }

  void unopenableFileShowsErrorAndSkipsOutputs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("directory") << QString() << Utf8("to jest folder");
    QTest::newRow("missing folder") << QStringLiteral("/missing/rec.csv")
                                    << Utf8("nie ma takiego pliku ani folderu");
    QTest::newRow("empty") << QStringLiteral("<empty>") << Utf8("nie wybrano pliku");
    QTest::newRow("FIFO without a reader") << QStringLiteral("/fifo") << Utf8("to nie jest zwykły plik");
  }

  void unopenableFileShowsErrorAndSkipsOutputs() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QString path = name.isEmpty()       ? fixture.ConfigDir()
                         : name == u"<empty>" ? QString()
                                              : fixture.ConfigDir() + name;
    if (name == u"/fifo") {
      QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
    }
    // A line that waited for the FIFO's reader would hang here: alarm() ends the test instead.
    ::alarm(20);
    HearChannelsOneToThree(window);
    StartRecording(window, path, 1);
    window.PlayButtonClick(Ui(window).PlayButton);
    QVERIFY(window.ChartRunning());
    for (int round = 0; round < 2; ++round) {
      window.SetStatusPanelText(0, QString());
      for (int i = 0; i < 9; ++i) {
        Feed(window, ChannelFrameBytes(3, 0.0f, 0.0f));
      }
      QCOMPARE(window.StatusPanelText(0), QString());
      Feed(window, ChannelFrameBytes(3, 0.0f, 0.0f));
      QCOMPARE(window.StatusPanelText(0), RetryMessage(path, reason));
    }
    QVERIFY(window.RecordingLogic().Recording());
    window.ChartLogic().Flush();
    // Output points come on every frame but the two boundaries; channel-4 points on all 20.
    QCOMPARE(window.ChartLogic().Feed().Shown(2).size(), 18);
    QCOMPARE(window.ChartLogic().Feed().Shown(12).size(), 20);
    ::alarm(0);
    if (!path.isEmpty()) {
      QVERIFY(!QFileInfo(path).isFile());
    }
  }

  void writeFailureIsShownAndFrameGoesOn() {
    if (!QFileInfo::exists(QStringLiteral("/dev/full"))) {
      QSKIP("no /dev/full");
    }
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    StartRecording(window, QStringLiteral("/dev/full"), 0);
    HearChannelsOneToThree(window);
    window.RecordingLogic().NoteChannelFrame(3);
    window.SetStatusPanelText(0, QString());
    QVERIFY(window.RecordingTick());
    QCOMPARE(window.StatusPanelText(0),
             RetryMessage(QStringLiteral("/dev/full"), Utf8("brak miejsca na dysku")));
    QCOMPARE(Ui(window).SaveButton->text(), Utf8("Zatrzymaj rejestrację danych"));
  }

  void saveButtonDecidesByItsCaption() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QCOMPARE(Ui(window).SaveButton->text(), Utf8("Uruchom rejestrację danych"));
    Ui(window).SaveButton->click();
    QVERIFY(window.RecordingLogic().Recording());
    QCOMPARE(Ui(window).SaveButton->text(), Utf8("Zatrzymaj rejestrację danych"));
    QCOMPARE(window.StatusPanelText(0), Utf8("Zapis pomiarów do pliku został uruchomiony"));
    // After a language switch the caption still says stop, so the next click stops.
    window.ActivateLanguage(2);
    QCOMPARE(Ui(window).SaveButton->text(), QStringLiteral("Stop recording data"));
    QCOMPARE(window.StatusPanelText(0), QStringLiteral("Record measurements to the file was running"));
    Ui(window).SaveButton->click();
    QVERIFY(!window.RecordingLogic().Recording());
    QCOMPARE(Ui(window).SaveButton->text(), QStringLiteral("Start recording data"));
    QCOMPARE(window.StatusPanelText(0), QStringLiteral("Record measurements to the file was stopped"));
    Ui(window).SaveButton->click();
    QVERIFY(window.RecordingLogic().Recording());
    QCOMPARE(Ui(window).SaveButton->text(), QStringLiteral("Stop recording data"));
  }

  void startStopNeverResetTheCounter() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Ui(window).ComboBox_SavePeriod->setCurrentIndex(2);
    for (int i = 0; i < 7; ++i) {
      Feed(window, ChannelFrameBytes(3, 0.0f, 0.0f));
    }
    window.SaveButtonClick(Ui(window).SaveButton);
    window.SaveButtonClick(Ui(window).SaveButton);
    QCOMPARE(window.RecordingLogic().Recorder().RecordFrameCounter(), 7u);
  }

  void chooseFileRefusedWhileRecording() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    DialogAnswer answer(fixture.ConfigDir() + QStringLiteral("/x.csv"));
    window.SaveButtonClick(Ui(window).SaveButton);
    const QString before = Ui(window).save_file->text();
    Ui(window).SpeedButton1->click();
    QVERIFY(answer.Shown.empty());
    QCOMPARE(Ui(window).save_file->text(), before);
    QCOMPARE(fixture.Boxes().size(), std::size_t{1});
    QCOMPARE(fixture.Boxes()[0].Icon, kvelt::app::MessageIcon::Error);
    QCOMPARE(fixture.Boxes()[0].Title, QStringLiteral("Zapis do pliku"));
    QCOMPARE(fixture.Boxes()[0].Text, QStringLiteral("Plik jest aktualnie uzywany"));
  }

  void chooseNewFileCreatesItAndStoresIt() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QString path = fixture.ConfigDir() + Utf8("/nowy plik ż.csv");
    DialogAnswer answer(path);
    Ui(window).SpeedButton1->click();
    QCOMPARE(answer.Shown.size(), std::size_t{1});
    TSaveDialog* dialog = answer.Shown[0];
    QCOMPARE(dialog->Title(), QStringLiteral("Plik pomiarowy"));
    QCOMPARE(dialog->nameFilters().size(), 2);
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("csv"));
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(Ui(window).save_file->text(), path);
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QFileInfo(path).size(), 0);
    QVERIFY(fixture.IniLines().contains(QStringLiteral("SaveFile=") + path));
  }

  void chooseExistingFileLeavesItAndTheSettings() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QString path = fixture.ConfigDir() + QStringLiteral("/old.csv");
    {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("old\r\n");
    }
    const QStringList iniBefore = fixture.IniLines();
    DialogAnswer answer(path);
    Ui(window).SpeedButton1->click();
    QCOMPARE(Ui(window).save_file->text(), path);
    QCOMPARE(FileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(fixture.IniLines(), iniBefore);
  }

  void chooseCancelledChangesNothing() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QString before = Ui(window).save_file->text();
    DialogAnswer answer(std::nullopt);
    Ui(window).SpeedButton1->click();
    QCOMPARE(answer.Shown.size(), std::size_t{1});
    QCOMPARE(Ui(window).save_file->text(), before);
  }

  // In the session's language.
  void settingsFailureOnChoiceReachesTheErrorBox_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("message");
    QTest::newRow("Polish") << 1 << Utf8("Nie można zapisać ustawień do pliku ");
    QTest::newRow("English") << 2 << Utf8("Unable to write the settings to ");
  }
  void settingsFailureOnChoiceReachesTheErrorBox() {
    QFETCH(int, language);
    QFETCH(QString, message);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.ActivateLanguage(language);
    QVERIFY(QFile::remove(fixture.IniPath()));
    QVERIFY(QDir().mkdir(fixture.IniPath()));  // config.ini is now a folder: writes fail
    DialogAnswer answer(fixture.ConfigDir() + QStringLiteral("/n.csv"));
    Ui(window).SpeedButton1->click();
    QCOMPARE(fixture.Boxes().size(), std::size_t{1});
    QVERIFY(fixture.Boxes()[0].Text.startsWith(message));
  }

  // A file that cannot be created or appended to is reported as soon as it is chosen, in the
  // session's language, and kept (the user may fix the folder).
  void unwritableChoiceIsReportedAndKept_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder, Polish")
        << "missing" << 1 << Utf8("Nie można zapisywać do pliku %1: nie ma takiego pliku ani folderu");
    QTest::newRow("read-only folder, English")
        << "read-only" << 2 << Utf8("Cannot write to file %1: permission denied");
  }
  void unwritableChoiceIsReportedAndKept() {
    QFETCH(QString, folder);
    QFETCH(int, language);
    QFETCH(QString, message);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QString path = fixture.ConfigDir() + u'/' + folder + QStringLiteral("/rec.csv");
    if (folder == u"read-only") {
      if (::geteuid() == 0) {
        QSKIP("root writes into a read-only folder");
      }
      QVERIFY(QDir(fixture.ConfigDir()).mkdir(folder));
      QVERIFY(QFile::setPermissions(fixture.ConfigDir() + u'/' + folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    window.ActivateLanguage(language);
    DialogAnswer answer(path);
    Ui(window).SpeedButton1->click();
    QCOMPARE(window.StatusPanelText(0), message.arg(path));
    QCOMPARE(Ui(window).save_file->text(), path);
    QVERIFY(fixture.IniLines().contains(QStringLiteral("SaveFile=") + path));
  }

  // The dialog opens in the recording file's folder; a bare name gets the extension of the
  // filter chosen (the default extension's filter until the user picks another).
  void dialogOpensInTheFilesFolderAndKeepsTheFiltersExtension_data() {
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no filter picked") << -1 << "rec1.csv";
    QTest::newRow("text filter") << 0 << "rec1.txt";
    QTest::newRow("CSV filter") << 1 << "rec1.csv";
  }
  void dialogOpensInTheFilesFolderAndKeepsTheFiltersExtension() {
    QFETCH(int, filter);
    QFETCH(QString, saved);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QString folder = fixture.ConfigDir() + QStringLiteral("/records");
    QVERIFY(QDir().mkdir(folder));
    Ui(window).save_file->setText(folder + QStringLiteral("/old.csv"));
    QString openedIn;
    const auto previous =
        kvelt::app::SetSaveDialogPresenter([&](TSaveDialog& dialog) -> std::optional<QString> {
          QFileDialog& files = dialog.Dialog();
          openedIn = files.directory().absolutePath();
          auto* types = files.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
          if (types == nullptr) {
            return std::nullopt;
          }
          if (filter >= 0) {
            types->setCurrentIndex(filter);
            emit types->activated(filter);
            emit types->textActivated(types->itemText(filter));
          }
          files.selectFile(QStringLiteral("rec1"));
          static_cast<QDialog&>(files).accept();  // QFileDialog's own accept, as OK runs it
          return files.selectedFiles().value(0);
        });
    Ui(window).SpeedButton1->click();
    kvelt::app::SetSaveDialogPresenter(previous);
    QCOMPARE(openedIn, folder);
    QCOMPARE(Ui(window).save_file->text(), folder + u'/' + saved);
  }

  // While recording, the read-outs page names the file and counts the lines written since the
  // start; stopped, the progress is hidden.
  void progressCountsTheLinesOfThisRecording() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    TickOnly(window, {2});
    const QString path = fixture.ConfigDir() + QStringLiteral("/progress.csv");
    StartRecording(window, path, 0);
    HearChannelsOneToThree(window);
    for (int n = 0; n < 3; ++n) {
      Feed(window, ChannelFrameBytes(3, 0.0f, 0.0f));
    }
    auto* progress = window.Control<QLabel>("RecordingProgress");
    QTRY_VERIFY2(progress->text().startsWith(QStringLiteral("Zapis do progress.csv: 3 wierszy, 00:00:0")),
                 qPrintable(progress->text()));
    QVERIFY(!progress->isHidden());
    window.SaveButtonClick(Ui(window).SaveButton);
    QVERIFY(progress->isHidden());
  }
};

QTEST_MAIN(RecordingTest)
#include "tst_recording.moc"
