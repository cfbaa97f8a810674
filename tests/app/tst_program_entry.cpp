// The application around the window: the error box for errors that escape a handler, the
// command line (also of the real executable run with no display), where config.ini lives, the
// access hint, and the dialog filter texts.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/ErrorText.h"
#include "app/HandlerGuard.h"
#include "app/MessageBoxes.h"
#include "app/TApplication.h"
#include "app/widgets/FileFilterText.h"
#include "settings/qt/SettingsLocation.h"

using kvelt::app::MessageBoxRequest;

namespace {

// An object whose event handler fails.
class FailingObject : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) {
      throw std::runtime_error("Unable to write to /x/config.ini");
    }
    return QObject::event(event);
  }
};

class BoxRecorder {
 public:
  BoxRecorder()
      : previous_(kvelt::app::SetMessageBoxPresenter(
            [this](const MessageBoxRequest& box) { boxes.push_back(box); })) {}
  ~BoxRecorder() { kvelt::app::SetMessageBoxPresenter(previous_); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  std::vector<MessageBoxRequest> boxes;

 private:
  kvelt::app::MessageBoxPresenter previous_;
};

// The executable under test, passed in by the build.
QString ProgramExecutable() { return qEnvironmentVariable("KVELT_PC_EXECUTABLE"); }

// This process's environment without any display or platform, plus `extra` (NAME=value).
QProcessEnvironment CleanedEnvironment(const QStringList& extra) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.remove(QString::fromLatin1(name));
  }
  for (const QString& entry : extra) {
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    environment.insert(entry.left(equals), entry.mid(equals + 1));
  }
  return environment;
}

}  // namespace

class ProgramEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void errorText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Unable to write to c:\\config.ini"
                            << "Unable to write to c:\\config.ini.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("exclamation mark sorts before") << "Value must be within [1..2]!"
                                                   << "Value must be within [1..2]!";
    QTest::newRow("closing parenthesis sorts before") << "failed (5)"
                                                      << "failed (5)";
    QTest::newRow("slash sorts after") << "/tmp/"
                                       << "/tmp/.";
    QTest::newRow("digit") << "error 5"
                           << "error 5.";
    QTest::newRow("non-ASCII letter")
        << QString::fromUtf8("zapis się nie udał") << QString::fromUtf8("zapis się nie udał.");
    QTest::newRow("carriage return") << "a\r"
                                     << "a\r";
    QTest::newRow("empty") << ""
                           << "";
  }

  void errorText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(kvelt::app::ComposeErrorText(message), shown);
  }

  void guardShowsTheErrorAndCarriesOn() {
    BoxRecorder recorder;
    bool after = false;
    kvelt::app::RunGuarded([] { throw std::runtime_error("Disk full"); });
    kvelt::app::RunGuarded([] { throw 42; });
    kvelt::app::RunGuarded([&after] { after = true; });
    QVERIFY(after);
    QCOMPARE(recorder.boxes.size(), std::size_t{2});
    QCOMPARE(recorder.boxes[0].Icon, kvelt::app::MessageIcon::Error);
    QCOMPARE(recorder.boxes[0].Title, QStringLiteral("KVELT - PC"));
    QCOMPARE(recorder.boxes[0].Text, QStringLiteral("Disk full."));
    QCOMPARE(recorder.boxes[1].Text, QString());
  }

  void applicationCatchesErrorsOfEventHandlers() {
    BoxRecorder recorder;
    FailingObject object;
    QEvent event(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&object, &event), false);
    QCOMPARE(recorder.boxes.size(), std::size_t{1});
    QCOMPARE(recorder.boxes[0].Text, QStringLiteral("Unable to write to /x/config.ini."));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("KVELT - PC"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.05"));
  }

  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("configDir");
    QTest::addColumn<bool>("simulate");
    QTest::addColumn<bool>("quitAfterShow");
    QTest::newRow("none") << QStringList{"kvelt-pc"} << QString() << false << false;
    QTest::newRow("all") << QStringList{"kvelt-pc", "--simulate", "--config-dir", "/tmp/k",
                                        "--quit-after-show"}
                         << "/tmp/k" << true << true;
    QTest::newRow("equals form") << QStringList{"kvelt-pc", "--config-dir=/a b"} << "/a b" << false << false;
    // The toolkit's own options pass; their values are not taken for ours.
    QTest::newRow("toolkit options") << QStringList{"kvelt-pc",   "-platform",   "offscreen",
                                                    "-style",     "Fusion",      "-reverse",
                                                    "--simulate", "-config-dir", "/c"}
                                     << "/c" << true << false;
  }

  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, configDir);
    QFETCH(bool, simulate);
    QFETCH(bool, quitAfterShow);
    kvelt::app::CommandLine commandLine;
    const kvelt::app::ProgramOptions options = commandLine.Parse(arguments);
    QCOMPARE(options.ConfigDir, configDir);
    QCOMPARE(options.Simulate, simulate);
    QCOMPARE(options.QuitAfterShow, quitAfterShow);
  }

  void settingsLocation_data() {
    QTest::addColumn<QString>("configDir");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("path");
    QTest::newRow("beside the program") << "" << true << false << "/x"
                                        << "/opt/kvelt/config.ini";
    QTest::newRow("command line wins") << "/data" << false << true << "/x"
                                       << "/data/config.ini";
    QTest::newRow("folder not writable") << "" << false << false << "/home/u/.cfg"
                                         << "/home/u/.cfg/kvelt-pc/config.ini";
    QTest::newRow("installed, writable (root)") << "" << true << true << ""
                                                << "/home/u/.config/kvelt-pc/config.ini";
    QTest::newRow("installed, no XDG_CONFIG_HOME") << "" << false << true << ""
                                                   << "/home/u/.config/kvelt-pc/config.ini";
    QTest::newRow("relative XDG_CONFIG_HOME ignored") << "" << false << true << "cfg"
                                                      << "/home/u/.config/kvelt-pc/config.ini";
  }

  void settingsLocation() {
    QFETCH(QString, configDir);
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    QFETCH(QString, xdg);
    QFETCH(QString, path);
    kvelt::SettingsLocation::Environment environment;
    environment.ConfigDir = configDir;
    environment.ExecutableDir = QStringLiteral("/opt/kvelt");
    environment.ExecutableDirWritable = writable;
    environment.Installed = installed;
    environment.XdgConfigHome = xdg;
    environment.HomeDir = QStringLiteral("/home/u");
    QCOMPARE(kvelt::SettingsLocation::IniPathFor(environment), path);
  }

  void displayCheck_data() {
    QTest::addColumn<QString>("platformArgument");
    QTest::addColumn<QString>("qpaPlatform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("waylandDisplay");
    QTest::addColumn<QString>("missing");  // a part of the line, empty when the window may be tried
    QTest::newRow("nothing at all") << ""
                                    << ""
                                    << ""
                                    << ""
                                    << "neither DISPLAY nor WAYLAND_DISPLAY";
    QTest::newRow("X display") << ""
                               << ""
                               << ":0"
                               << ""
                               << "";
    QTest::newRow("Wayland display") << ""
                                     << ""
                                     << ""
                                     << "wayland-0"
                                     << "";
    QTest::newRow("offscreen from the environment") << ""
                                                    << "offscreen"
                                                    << ""
                                                    << ""
                                                    << "";
    QTest::newRow("offscreen on the command line") << "offscreen"
                                                   << "xcb"
                                                   << ""
                                                   << ""
                                                   << "";
    QTest::newRow("xcb without DISPLAY") << ""
                                         << "xcb"
                                         << ""
                                         << "wayland-0"
                                         << "xcb platform needs DISPLAY";
    QTest::newRow("xcb with options, no DISPLAY") << "xcb:foo=1"
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << "xcb platform needs DISPLAY";
    QTest::newRow("xcb with DISPLAY") << ""
                                      << "xcb"
                                      << ":1"
                                      << ""
                                      << "";
    QTest::newRow("a list with a fallback") << ""
                                            << "xcb;offscreen"
                                            << ""
                                            << ""
                                            << "";
    QTest::newRow("separators only") << ""
                                     << ";"
                                     << ""
                                     << ""
                                     << "neither DISPLAY nor WAYLAND_DISPLAY";
  }

  void displayCheck() {
    QFETCH(QString, platformArgument);
    QFETCH(QString, qpaPlatform);
    QFETCH(QString, display);
    QFETCH(QString, waylandDisplay);
    QFETCH(QString, missing);
    kvelt::app::DisplayCheck::Environment environment;
    environment.PlatformArgument = platformArgument.toStdString();
    environment.QpaPlatform = qpaPlatform.toStdString();
    environment.Display = display.toStdString();
    environment.WaylandDisplay = waylandDisplay.toStdString();
    const QString line = QString::fromStdString(kvelt::app::DisplayCheck::MissingDisplay(environment));
    if (missing.isEmpty()) {
      QCOMPARE(line, QString());
    } else {
      QVERIFY2(line.contains(missing), qPrintable(line));
      QVERIFY(line.contains(QStringLiteral("QT_QPA_PLATFORM=offscreen")));
    }
  }

  // The executable itself, started with no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM.
  void withoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");  // NAME=value added to the cleaned environment
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");  // expected in stdout
    QTest::addColumn<QString>("err");  // expected as the last line of stderr ("" = stderr empty)
    const QString headless = QStringLiteral("for headless use run it with QT_QPA_PLATFORM=offscreen.");
    QTest::newRow("help") << QStringList{"--help"} << QStringList{} << 0
                          << "--simulate-unplug-after <seconds>"
                          << "";
    QTest::newRow("help, short") << QStringList{"-h"} << QStringList{} << 0 << "--config-dir <dir>"
                                 << "";
    QTest::newRow("version") << QStringList{"--version"} << QStringList{} << 0 << "kvelt-pc 1.05\n"
                             << "";
    QTest::newRow("version, short") << QStringList{"-v"} << QStringList{} << 0 << "kvelt-pc 1.05\n"
                                    << "";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << QStringList{} << 1 << ""
                                    << "kvelt-pc: Unknown option 'bogus'.";
    QTest::newRow("missing value") << QStringList{"--config-dir"} << QStringList{} << 1 << ""
                                   << "kvelt-pc: Missing value after '--config-dir'.";
    QTest::newRow("bad delay")
        << QStringList{"--simulate-unplug-after", "soon"} << QStringList{} << 1 << ""
        << "kvelt-pc: --simulate-unplug-after takes a number of seconds from 0 to 2000000.";
    QTest::newRow("window, no display")
        << QStringList{"--simulate"} << QStringList{} << 1 << ""
        << "kvelt-pc: cannot open the window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); " +
               headless;
    QTest::newRow("window, xcb asked, no DISPLAY")
        << QStringList{"--simulate"} << QStringList{"QT_QPA_PLATFORM=xcb"} << 1 << ""
        << "kvelt-pc: cannot open the window: the xcb platform needs DISPLAY, which is not set; " + headless;
    QTest::newRow("window, X server unreachable")
        << QStringList{"--simulate"} << QStringList{"DISPLAY=:4093"} << 1 << ""
        << "kvelt-pc: cannot open the window: the display could not be opened (DISPLAY=:4093, "
           "WAYLAND_DISPLAY=); " +
               headless;
  }

  void withoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir configDir;
    QVERIFY(configDir.isValid());
    QProcess process;
    process.setProcessEnvironment(CleanedEnvironment(environment));
    process.start(ProgramExecutable(), arguments);
    QVERIFY2(process.waitForFinished(30000), "the program did not end");
    const QString stdOut = QString::fromUtf8(process.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
    if (err.isEmpty()) {
      QCOMPARE(stdErr, QString());
    } else {
      QCOMPARE(stdErr.split(QLatin1Char('\n'), Qt::SkipEmptyParts).constLast(), err);
    }
  }

  // -platform on the command line is the toolkit's and starts the window with no display.
  void platformOptionStartsTheWindow() {
    QTemporaryDir configDir;
    QVERIFY(configDir.isValid());
    QProcess process;
    process.setProcessEnvironment(CleanedEnvironment({}));
    process.start(ProgramExecutable(), {"-platform", "offscreen", "--simulate", "--quit-after-show",
                                        "--config-dir", configDir.path()});
    QVERIFY2(process.waitForFinished(60000), "the program did not end");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(QFile::exists(configDir.filePath(QStringLiteral("config.ini"))));
  }

  void filterText_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::newRow("two, described with patterns") << "Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv"
                                                  << QStringList{"Text file (*.txt)", "CSV file (*.csv)"};
    QTest::newRow("description without pattern") << "Bitmap|*.bmp" << QStringList{"Bitmap (*.bmp)"};
    QTest::newRow("several patterns") << "Pictures|*.bmp;*.png" << QStringList{"Pictures (*.bmp *.png)"};
    QTest::newRow("pattern differing from the description")
        << "Text (*.txt)|*.log" << QStringList{"Text (*.txt) (*.log)"};
    QTest::newRow("dangling description") << "A|*.a|B" << QStringList{"A (*.a)"};
    QTest::newRow("empty") << "" << QStringList{};
  }

  void filterText() {
    QFETCH(QString, filter);
    QFETCH(QStringList, nameFilters);
    QCOMPARE(kvelt::app::NameFiltersFromFilterText(filter), nameFilters);
  }
};

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  ProgramEntryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_program_entry.moc"
