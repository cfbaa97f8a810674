// Loading config.ini when the window is created, storing the options on a click and at close.

#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <cstdio>

#include "app/UnixSignalCloser.h"
#include "app/WindowPlacement.h"
#include "app/widgets/TBitBtn.h"
#include "i18n/qt/TLangCombo.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

const QStringList kFreshFile = {"[Options]",   "AutoSave=0",   "SaveDate=1", "SaveTime=1",
                                "SavePos1=1",  "SavePos2=1",   "SavePos3=1", "SavePos4=1",
                                "SaveVer1=1",  "SaveVer2=1",   "SaveVer3=1", "SaveVer4=1",
                                "ScreenTop=0", "ScreenLeft=0", "Language=0", "SaveFile=<home>/pomiar.csv",
                                "Div=2",       "Unit=0"};

// The fresh file with the recording file in this home folder.
QStringList FreshFile(const QString& home) {
  QStringList lines = kFreshFile;
  lines.replaceInStrings(QStringLiteral("<home>"), home);
  return lines;
}

// Sets HOME while it lives.
class ScopedHome {
 public:
  explicit ScopedHome(const QByteArray& home)
      : previous_(qgetenv("HOME")), wasSet_(qEnvironmentVariableIsSet("HOME")) {
    if (home.isNull()) {
      qunsetenv("HOME");
    } else {
      qputenv("HOME", home);
    }
  }
  ~ScopedHome() {
    if (wasSet_) {
      qputenv("HOME", previous_);
    } else {
      qunsetenv("HOME");
    }
  }
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  QByteArray previous_;
  bool wasSet_;
};

// Sends what the process writes to its standard error stream into a file while it lives.
class StandardErrorCapture {
 public:
  StandardErrorCapture() {
    std::fflush(stderr);
    QVERIFY(file_.open());
    saved_ = ::dup(STDERR_FILENO);
    ::dup2(file_.handle(), STDERR_FILENO);
  }
  ~StandardErrorCapture() { Restore(); }
  StandardErrorCapture(const StandardErrorCapture&) = delete;
  StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

  // Stops capturing and returns the lines written meanwhile.
  QStringList Lines() {
    Restore();
    QFile captured(file_.fileName());
    if (!captured.open(QIODevice::ReadOnly)) {
      return {};
    }
    return QString::fromLocal8Bit(captured.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

 private:
  void Restore() {
    if (saved_ >= 0) {
      std::fflush(stderr);
      ::dup2(saved_, STDERR_FILENO);
      ::close(saved_);
      saved_ = -1;
    }
  }
  QTemporaryFile file_;
  int saved_ = -1;
};

QList<bool> RecordingChecks(TFMain& window) {
  QList<bool> checks = {Ui(window).auto_save->isChecked(), Ui(window).save_date->isChecked(),
                        Ui(window).save_time->isChecked()};
  for (QCheckBox* box : Ui(window).save_pos) {
    checks << box->isChecked();
  }
  for (QCheckBox* box : Ui(window).save_ver) {
    checks << box->isChecked();
  }
  return checks;
}

}  // namespace

class StartupShutdownTest : public QObject {
  Q_OBJECT

 private slots:
  void freshStartWritesTheSeventeenKeys() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QCOMPARE(fixture.IniLines(), FreshFile(QDir::homePath()));
    QCOMPARE(window.IniPath(), fixture.IniPath());
    QVERIFY(window.SettingsLogic().Ready());
    QCOMPARE(window.pos(), QPoint(0, 0));
    QCOMPARE(Ui(window).save_file->text(), QDir::homePath() + QStringLiteral("/pomiar.csv"));
    QCOMPARE(Ui(window).DivList->currentIndex(), 2);
    QCOMPARE(Ui(window).UnitList->currentIndex(), 0);
    QCOMPARE(Ui(window).ComboBox_SavePeriod->currentText(), QStringLiteral("100 ms"));
    QCOMPARE(Ui(window).LangCombo1->currentIndex(), 0);
    QCOMPARE(window.Lang().ActiveLanguage(), 1);
    QVERIFY(!window.RecordingLogic().Recording());
    QVERIFY(!window.ChartRunning());
    QCOMPARE(Ui(window).SaveButton->text(), Utf8("Uruchom rejestrację danych"));
    QCOMPARE(RecordingChecks(window),
             (QList<bool>{false, true, true, true, true, true, true, true, true, true, true}));
    QCOMPARE(Ui(window).BoxPred->title(), Utf8("Prędkość [obr/s]"));
    QCOMPARE(Ui(window).BoxPos->title(), QStringLiteral("Pozycja [obr]"));
    QCOMPARE(Ui(window).GroupBox1->title(), Utf8("Rozdzielczość enkodera [imp/obr]"));
  }

  void fileWithOnlyTheLanguageKey() {
    const QStringList file = {"[Options]", "Language=0"};
    WindowFixture fixture(file);
    TFMain& window = fixture.Window();
    QCOMPARE(RecordingChecks(window),
             (QList<bool>{false, true, true, true, true, true, true, true, true, true, true}));
    QCOMPARE(Ui(window).save_file->text(), QDir::homePath() + QStringLiteral("/pomiar.csv"));
    QCOMPARE(Ui(window).DivList->currentIndex(), 2);
    QCOMPARE(Ui(window).UnitList->currentText(), QStringLiteral("[obr/s]"));
    QCOMPARE(Ui(window).ComboBox_SavePeriod->currentText(), QStringLiteral("100 ms"));
    QCOMPARE(window.pos(), QPoint(0, 0));
    QCOMPARE(window.Lang().ActiveLanguage(), 1);
    QCOMPARE(fixture.IniLines(), file);  // check boxes ticked while loading store nothing
  }

  void defaultRecordFileIsInTheHomeFolder_data() {
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QStringList>("stored");  // config.ini lines, none for a first start
    QTest::addColumn<QString>("shown");
    const QString homeFile = QStringLiteral("/home/kvelt user/pomiar.csv");
    QTest::newRow("first start") << QByteArray("/home/kvelt user") << QStringList{} << homeFile;
    QTest::newRow("home with a trailing slash")
        << QByteArray("/home/kvelt user/") << QStringList{} << homeFile;
    QTest::newRow("file without SaveFile")
        << QByteArray("/home/kvelt user") << QStringList{"[Options]", "Language=0"} << homeFile;
    QTest::newRow("stored name used as it is")
        << QByteArray("/home/kvelt user") << QStringList{"[Options]", "SaveFile=c:\\pomiar.csv", "Language=0"}
        << QStringLiteral("c:\\pomiar.csv");
    QTest::newRow("stored relative name used as it is")
        << QByteArray("/home/kvelt user") << QStringList{"[Options]", "SaveFile=dane.csv", "Language=0"}
        << QStringLiteral("dane.csv");
  }

  void defaultRecordFileIsInTheHomeFolder() {
    QFETCH(QByteArray, home);
    QFETCH(QStringList, stored);
    QFETCH(QString, shown);
    const ScopedHome scopedHome(home);
    WindowFixture fixture(stored);
    QCOMPARE(Ui(fixture.Window()).save_file->text(), shown);
    if (stored.isEmpty()) {
      QCOMPARE(fixture.IniLines(), FreshFile(QStringLiteral("/home/kvelt user")));
    } else {
      QCOMPARE(fixture.IniLines(), stored);
    }
  }

  void homeFolderFromThePasswordDatabaseWithoutHome() {
    const ScopedHome scopedHome(QByteArray{});
    WindowFixture fixture;
    const QString shown = Ui(fixture.Window()).save_file->text();
    QVERIFY2(QDir::isAbsolutePath(shown), qPrintable(shown));
    QVERIFY(shown.endsWith(QStringLiteral("/pomiar.csv")));
  }

  void autoSaveStartsRecording_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("saveButton");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("boxPos");
    QTest::newRow("Polski") << 0 << Utf8("Zatrzymaj rejestrację danych")
                            << QStringLiteral("Zapis pomiarów do pliku zostal uruchomiony")
                            << QStringLiteral("Pozycja [mm]");
    QTest::newRow("English") << 1 << QStringLiteral("Stop recording data")
                             << QStringLiteral("Record measurements to the file was running")
                             << QStringLiteral("Position [mm]");
  }

  void autoSaveStartsRecording() {
    QFETCH(int, language);
    QFETCH(QString, saveButton);
    QFETCH(QString, message);
    QFETCH(QString, boxPos);
    WindowFixture fixture({"[Options]", "AutoSave=1", QStringLiteral("Language=%1").arg(language), "Unit=2"});
    TFMain& window = fixture.Window();
    QVERIFY(window.RecordingLogic().Recording());
    QCOMPARE(Ui(window).SaveButton->text(), saveButton);
    QCOMPARE(window.StatusPanelText(0), message);
    QCOMPARE(Ui(window).BoxPos->title(), boxPos);
    QCOMPARE(window.Lang().ActiveLanguage(), language + 1);
    QCOMPARE(Ui(window).LangCombo1->currentIndex(), language);
  }

  void storedIndexOutsideItsListSelectsTheDefault_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("div");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("language");
    QTest::newRow("all in range") << QStringList{"Div=4", "Unit=3", "SavePeriod=8", "Language=1"} << 4 << 3
                                  << 8 << 1;
    QTest::newRow("too large") << QStringList{"Div=5", "Unit=4", "SavePeriod=9", "Language=2"} << 2 << 0 << 1
                               << 0;
    QTest::newRow("negative") << QStringList{"Div=-1", "Unit=-1", "SavePeriod=-1", "Language=-1"} << 2 << 0
                              << 1 << 0;
    QTest::newRow("no Language key") << QStringList{"Div=0", "SavePeriod=0"} << 0 << 0 << 0 << 0;
    QTest::newRow("hexadecimal") << QStringList{"Div=0x3", "Unit=0x1", "SavePeriod=0X2", "Language=0x1"} << 3
                                 << 1 << 2 << 1;
  }

  void storedIndexOutsideItsListSelectsTheDefault() {
    QFETCH(QStringList, keys);
    QFETCH(int, div);
    QFETCH(int, unit);
    QFETCH(int, period);
    QFETCH(int, language);
    WindowFixture fixture(QStringList{"[Options]"} + keys);
    TFMain& window = fixture.Window();
    QCOMPARE(Ui(window).DivList->currentIndex(), div);
    QCOMPARE(Ui(window).UnitList->currentIndex(), unit);
    QCOMPARE(Ui(window).ComboBox_SavePeriod->currentIndex(), period);
    QCOMPARE(Ui(window).LangCombo1->currentIndex(), language);
    QCOMPARE(window.Lang().ActiveLanguage(), language + 1);
    QVERIFY(fixture.Boxes().empty());
  }

  // The offscreen platform has one screen of 800 x 800 pixels; the window is 782 wide at least.
  void storedPositionIsUsedWhenTheTitleBarIsReachable_data() {
    QTest::addColumn<QPoint>("stored");  // left, top
    QTest::addColumn<QPoint>("opened");
    const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    QTest::newRow("inside") << QPoint(10, 20) << QPoint(10, 20);
    QTest::newRow("partly off the left edge") << QPoint(-500, 10) << QPoint(-500, 10);
    QTest::newRow("a little above the top") << QPoint(30, -5) << QPoint(30, -5);
    QTest::newRow("far off") << QPoint(12000, -3000) << corner;
    QTest::newRow("only 10 pixels on the right") << QPoint(790, 10) << corner;
    QTest::newRow("off the left edge") << QPoint(-760, 10) << corner;
    QTest::newRow("above the top") << QPoint(30, -40) << corner;
    QTest::newRow("below the bottom") << QPoint(30, 796) << corner;
    QTest::newRow("top at the largest int") << QPoint(10, 2147483647) << corner;
    QTest::newRow("left at the smallest int") << QPoint(-2147483647 - 1, 10) << corner;
    QTest::newRow("just past what a widget measures") << QPoint(16777216, 0) << corner;
  }

  void storedPositionIsUsedWhenTheTitleBarIsReachable() {
    QFETCH(QPoint, stored);
    QFETCH(QPoint, opened);
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(800, 800));
    WindowFixture fixture({"[Options]", QStringLiteral("ScreenTop=%1").arg(stored.y()),
                           QStringLiteral("ScreenLeft=%1").arg(stored.x()), "Language=0"});
    QCOMPARE(fixture.Window().pos(), opened);
    // Closing stores where the window is, not an overflowed corner.
    QVERIFY(fixture.Window().close());
    QVERIFY(fixture.IniLines().contains(QStringLiteral("ScreenTop=%1").arg(opened.y())));
  }

  void placementOverSeveralScreens_data() {
    QTest::addColumn<QList<QRect>>("areas");
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QPoint>("opened");
    const QRect left(0, 0, 1920, 1040);
    const QRect right(1920, -200, 1280, 984);
    QTest::newRow("on the second screen")
        << QList<QRect>{left, right} << QPoint(2500, -150) << QPoint(2500, -150);
    QTest::newRow("second screen gone") << QList<QRect>{left} << QPoint(2500, -150) << QPoint(0, 0);
    QTest::newRow("title bar on neither screen")
        << QList<QRect>{left, right} << QPoint(100, -150) << QPoint(0, 0);
    QTest::newRow("across both screens")
        << QList<QRect>{left, right} << QPoint(1500, 100) << QPoint(1500, 100);
  }

  void placementOverSeveralScreens() {
    QFETCH(QList<QRect>, areas);
    QFETCH(QPoint, stored);
    QFETCH(QPoint, opened);
    QCOMPARE(kvelt::app::WindowPlacement::Place(stored, 782, areas, areas.front()), opened);
  }

  void checkBoxClickStoresAllElevenOptionsAndThePeriod() {
    WindowFixture fixture({"[Options]", "Language=0"});
    TFMain& window = fixture.Window();
    Ui(window).ComboBox_SavePeriod->setCurrentIndex(4);
    QVERIFY(fixture.IniLines() == (QStringList{"[Options]", "Language=0"}));  // no handler on the period list
    Ui(window).save_ver[2]->click();
    QCOMPARE(fixture.IniLines(),
             (QStringList{"[Options]", "Language=0", "AutoSave=0", "SaveDate=1", "SaveTime=1", "SavePos1=1",
                          "SavePos2=1", "SavePos3=1", "SavePos4=1", "SaveVer1=1", "SaveVer2=1", "SaveVer3=0",
                          "SaveVer4=1", "SavePeriod=4"}));
    // Setting a check box from code stores as a click does.
    Ui(window).auto_save->setChecked(true);
    QVERIFY(fixture.IniLines().contains(QStringLiteral("AutoSave=1")));
    QVERIFY(!window.RecordingLogic().Recording());  // takes effect at the next start only
  }

  void closeStoresPositionLanguageAndPeriod() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Ui(window).LangCombo1->setCurrentIndex(1);
    Ui(window).ComboBox_SavePeriod->setCurrentIndex(6);
    const QPoint where = window.pos();
    QVERIFY(window.close());
    const QStringList lines = fixture.IniLines();
    QVERIFY(lines.contains(QStringLiteral("ScreenTop=%1").arg(where.y())));
    QVERIFY(lines.contains(QStringLiteral("ScreenLeft=%1").arg(where.x())));
    QVERIFY(lines.contains(QStringLiteral("Language=1")));
    QCOMPARE(lines.back(), QStringLiteral("SavePeriod=6"));
    // The next start opens in English with that period.
    fixture.Reopen();
    QCOMPARE(fixture.Window().Lang().ActiveLanguage(), 2);
    QCOMPARE(Ui(fixture.Window()).ComboBox_SavePeriod->currentIndex(), 6);
  }

  void terminationSignalClosesLikeTheCloseButton() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    kvelt::app::UnixSignalCloser closer(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Ui(window).ComboBox_SavePeriod->setCurrentIndex(3);
    std::raise(SIGTERM);
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(fixture.IniLines().back(), QStringLiteral("SavePeriod=3"));
  }

  // Run by ctest a second time as an unprivileged user, for whom a read-only file is one.
  void signalCloseWithUnwritableSettings_data() {
    QTest::addColumn<bool>("removeFolder");
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("folder removed, SIGTERM") << true << SIGTERM;
    QTest::newRow("read-only file and folder, SIGHUP") << false << SIGHUP;
    QTest::newRow("read-only file and folder, SIGINT") << false << SIGINT;
  }

  void signalCloseWithUnwritableSettings() {
    QFETCH(bool, removeFolder);
    QFETCH(int, signalNumber);
    if (!removeFolder && ::geteuid() == 0) {
      QSKIP("file permissions do not bind root; ctest runs this again as nobody");
    }
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    kvelt::app::UnixSignalCloser closer(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString folder = fixture.ConfigDir();
    if (removeFolder) {
      QVERIFY(QDir(folder).removeRecursively());
    } else {
      QVERIFY(QFile::setPermissions(fixture.IniPath(), QFileDevice::ReadOwner));
      QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    StandardErrorCapture capture;
    std::raise(signalNumber);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
    const QStringList lines = capture.Lines();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(fixture.Boxes().empty());
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0], QStringLiteral("kvelt-pc: Unable to write to ") + window.IniPath() + u'.');
    // A close by the user still shows the error in a box.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    window.close();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(fixture.Boxes().size(), std::size_t{1});
  }

  // The program itself: SIGTERM while config.ini cannot be written ends it within 2 s, with one
  // line on stderr. Also run by ctest as an unprivileged user.
  void programEndsSoonAfterASignal_data() {
    QTest::addColumn<bool>("removeFolder");
    QTest::newRow("folder removed") << true;
    QTest::newRow("read-only file and folder") << false;
  }

  void programEndsSoonAfterASignal() {
    QFETCH(bool, removeFolder);
    const QString program = qEnvironmentVariable("KVELT_PC_EXECUTABLE");
    QVERIFY2(QFileInfo(program).isExecutable(), "KVELT_PC_EXECUTABLE names no program");
    if (!removeFolder && ::geteuid() == 0) {
      QSKIP("file permissions do not bind root; ctest runs this again as nobody");
    }
    QTemporaryDir config;
    QTemporaryDir records;
    const QString recordFile = records.filePath(QStringLiteral("rec.csv"));
    {
      QFile ini(config.filePath(QStringLiteral("config.ini")));
      QVERIFY(ini.open(QIODevice::WriteOnly));
      ini.write(QStringLiteral("[Options]\r\nAutoSave=1\r\nSavePeriod=0\r\nLanguage=0\r\nSaveFile=%1\r\n")
                    .arg(recordFile)
                    .toUtf8());
    }
    QProcess process;
    process.start(program, {QStringLiteral("--simulate"), QStringLiteral("--config-dir"), config.path()});
    QVERIFY(process.waitForStarted());
    // Lines arrive once the window runs and the simulated counter is connected.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(recordFile).size() > 0, 10000);
    if (removeFolder) {
      QVERIFY(QDir(config.path()).removeRecursively());
    } else {
      QVERIFY(QFile::setPermissions(config.filePath(QStringLiteral("config.ini")), QFileDevice::ReadOwner));
      QVERIFY(QFile::setPermissions(config.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    process.terminate();
    const bool ended = process.waitForFinished(2000);
    QFile::setPermissions(config.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!ended) {
      process.kill();
      process.waitForFinished();
      QFAIL("still running 2 s after SIGTERM");
    }
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QStringList own;
    for (const QString& line : QString::fromLocal8Bit(process.readAllStandardError()).split(u'\n')) {
      if (line.startsWith(QStringLiteral("kvelt-pc:"))) {
        own << line;
      }
    }
    QCOMPARE(own, QStringList{QStringLiteral("kvelt-pc: Unable to write to %1.")
                                  .arg(config.filePath(QStringLiteral("config.ini")))});
  }

  void signalClosesAnOpenModalBoxToo() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    kvelt::app::UnixSignalCloser closer(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QMessageBox box(QMessageBox::Information, QStringLiteral("KVELT - PC"), QStringLiteral("open"),
                    QMessageBox::Ok, &window);
    QTimer::singleShot(50, [] { std::raise(SIGTERM); });
    // Without the close this would wait for a click: alarm() ends the test instead.
    ::alarm(20);
    box.exec();
    ::alarm(0);
    QVERIFY(!window.isVisible());
    QVERIFY(!box.isVisible());
  }

  void failedFirstWriteShowsTheErrorAndTheWindowStillOpens() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    std::vector<kvelt::app::MessageBoxRequest> boxes;
    const auto previous = kvelt::app::SetMessageBoxPresenter(
        [&boxes](const kvelt::app::MessageBoxRequest& request) { boxes.push_back(request); });
    {
      kvelt::app::ProgramOptions options;
      options.ConfigDir = blocker.fileName() + QStringLiteral("/settings");
      TFMain window(options);
      QCOMPARE(boxes.size(), std::size_t{1});
      QCOMPARE(boxes[0].Icon, kvelt::app::MessageIcon::Error);
      QCOMPARE(boxes[0].Title, QStringLiteral("KVELT - PC"));
      QCOMPARE(boxes[0].Text,
               QString::fromUtf8("Nie można zapisać ustawień do pliku ") + window.IniPath() + u'.');
      QVERIFY(!window.SettingsLogic().Ready());
      // Design-time values for the steps that did not run.
      QCOMPARE(Ui(window).save_file->text(), QStringLiteral("save_file"));
      QCOMPARE(Ui(window).BoxPred->title(), Utf8("Prędkość [obr/min]"));
      QCOMPARE(Ui(window).LangCombo1->parentWidget(), Ui(window).StatusBar);
      Ui(window).save_date->setChecked(false);  // FormClick stores nothing, so no further error
      QCOMPARE(boxes.size(), std::size_t{1});
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      window.close();  // the close handler runs into the same error
      QCOMPARE(boxes.size(), std::size_t{2});
      QCOMPARE(boxes[1].Text, boxes[0].Text);
    }
    kvelt::app::SetMessageBoxPresenter(previous);
  }
};

QTEST_MAIN(StartupShutdownTest)
#include "tst_startup_shutdown.moc"
