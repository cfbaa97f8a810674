// The application around the window: the error box for errors that escape a handler, the
// command line, where config.ini lives, and the dialog filter texts.

#include <QtTest>
#include <stdexcept>

#include "app/CommandLine.h"
#include "app/ErrorText.h"
#include "app/FileFilterText.h"
#include "app/HandlerGuard.h"
#include "app/MessageBoxes.h"
#include "app/SettingsLocation.h"
#include "app/TApplication.h"

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
      : previous_(kvelt::app::SetMessageBoxPresenter([this](const MessageBoxRequest& box) { boxes.push_back(box); })) {}
  ~BoxRecorder() { kvelt::app::SetMessageBoxPresenter(previous_); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  std::vector<MessageBoxRequest> boxes;

 private:
  kvelt::app::MessageBoxPresenter previous_;
};

}  // namespace

class ProgramEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void errorText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Unable to write to c:\\config.ini" << "Unable to write to c:\\config.ini.";
    QTest::newRow("full stop") << "Done." << "Done.";
    QTest::newRow("exclamation mark sorts before") << "Value must be within [1..2]!"
                                                   << "Value must be within [1..2]!";
    QTest::newRow("closing parenthesis sorts before") << "failed (5)" << "failed (5)";
    QTest::newRow("slash sorts after") << "/tmp/" << "/tmp/.";
    QTest::newRow("digit") << "error 5" << "error 5.";
    QTest::newRow("non-ASCII letter") << QString::fromUtf8("zapis się nie udał") << QString::fromUtf8("zapis się nie udał.");
    QTest::newRow("carriage return") << "a\r" << "a\r";
    QTest::newRow("empty") << "" << "";
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
    QTest::newRow("all") << QStringList{"kvelt-pc", "--simulate", "--config-dir", "/tmp/k", "--quit-after-show"}
                         << "/tmp/k" << true << true;
    QTest::newRow("equals form") << QStringList{"kvelt-pc", "--config-dir=/a b"} << "/a b" << false << false;
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
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("path");
    QTest::newRow("beside the program") << "" << true << "/x" << "/opt/kvelt/config.ini";
    QTest::newRow("command line wins") << "/data" << false << "/x" << "/data/config.ini";
    QTest::newRow("installed copy") << "" << false << "/home/u/.cfg" << "/home/u/.cfg/kvelt-pc/config.ini";
    QTest::newRow("installed, no XDG_CONFIG_HOME") << "" << false << "" << "/home/u/.config/kvelt-pc/config.ini";
    QTest::newRow("relative XDG_CONFIG_HOME ignored") << "" << false << "cfg" << "/home/u/.config/kvelt-pc/config.ini";
  }

  void settingsLocation() {
    QFETCH(QString, configDir);
    QFETCH(bool, writable);
    QFETCH(QString, xdg);
    QFETCH(QString, path);
    kvelt::app::SettingsLocation::Environment environment;
    environment.ConfigDir = configDir;
    environment.ExecutableDir = QStringLiteral("/opt/kvelt");
    environment.ExecutableDirWritable = writable;
    environment.XdgConfigHome = xdg;
    environment.HomeDir = QStringLiteral("/home/u");
    QCOMPARE(kvelt::app::SettingsLocation::IniPathFor(environment), path);
  }

  void filterText_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::newRow("two, described with patterns")
        << "Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv"
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
