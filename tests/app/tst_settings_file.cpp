// config.ini files real users have, through the window: things that are not settings files
// open the window on defaults with one error, and a Windows-1250 file keeps its letters.

#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/pages/ChartPage.h"
#include "app/pages/RecordingPage.h"
#include "app/widgets/AppFonts.h"
#include "settings/SettingsKeys.h"
#include "tests/app/support/WindowControls.h"

using kvelt::apptest::Ui;

namespace {

enum class Thing { Fifo, LinkToDevZero, FileOverOneMebibyte };

// A window over a folder of its own; message boxes are recorded, not shown.
class RecordedWindow {
 public:
  explicit RecordedWindow(const QString& configDir) {
    kvelt::app::AppFonts::EnsureTahoma();
    previous_ = kvelt::app::SetMessageBoxPresenter(
        [this](const kvelt::app::MessageBoxRequest& request) { Boxes.push_back(request); });
    kvelt::app::ProgramOptions options;
    options.ConfigDir = configDir;
    Window = std::make_unique<TFMain>(options);
  }
  ~RecordedWindow() {
    Window.reset();
    kvelt::app::SetMessageBoxPresenter(std::move(previous_));
  }
  RecordedWindow(const RecordedWindow&) = delete;
  RecordedWindow& operator=(const RecordedWindow&) = delete;

  std::vector<kvelt::app::MessageBoxRequest> Boxes;
  std::unique_ptr<TFMain> Window;

 private:
  kvelt::app::MessageBoxPresenter previous_;
};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

Q_DECLARE_METATYPE(Thing)

class SettingsFileTest : public QObject {
  Q_OBJECT

 private slots:
  void notASettingsFileOpensOnDefaultsWithOneError_data() {
    QTest::addColumn<Thing>("thing");
    QTest::newRow("FIFO") << Thing::Fifo;
    QTest::newRow("link to /dev/zero") << Thing::LinkToDevZero;
    QTest::newRow("file over 1 MiB") << Thing::FileOverOneMebibyte;
  }
  void notASettingsFileOpensOnDefaultsWithOneError() {
    QFETCH(Thing, thing);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    QByteArray large;
    switch (thing) {
      case Thing::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
      case Thing::LinkToDevZero:
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        break;
      case Thing::FileOverOneMebibyte: {
        large = QByteArray("[Options]\r\nDiv=4\r\nAutoSave=1\r\n") + QByteArray(1024 * 1024, ';');
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(large);
        break;
      }
    }
    {
      RecordedWindow recorded(dir.path());
      TFMain& window = *recorded.Window;
      QCOMPARE(recorded.Boxes.size(), std::size_t{1});
      QCOMPARE(recorded.Boxes[0].Icon, kvelt::app::MessageIcon::Error);
      QCOMPARE(recorded.Boxes[0].Text,
               QString::fromUtf8("Nie można zapisać ustawień do pliku ") + window.IniPath() + u'.');
      // The defaults of every key, not the design-time values.
      QCOMPARE(Ui(window).save_file->text(), QString::fromStdString(kvelt::SettingsDefaults::SaveFile()));
      QCOMPARE(Ui(window).DivList->currentIndex(), 2);
      QCOMPARE(Ui(window).ComboBox_SavePeriod->currentText(), QStringLiteral("100 ms"));
      QVERIFY(!Ui(window).auto_save->isChecked());
      QVERIFY(Ui(window).save_date->isChecked());
      QVERIFY(!window.RecordingLogic().Recording());
      Ui(window).save_date->click();  // stores nothing: the file is never written over
      QCOMPARE(recorded.Boxes.size(), std::size_t{1});
    }
    const QFileInfo info(path);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size(), 1);
    if (thing == Thing::FileOverOneMebibyte) {
      QCOMPARE(ReadAll(path), large);
    } else {
      QVERIFY(!info.isFile() || info.isSymLink());
    }
  }

  void windows1250FileKeepsItsLettersAndEncoding() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      // SaveFile=C:\Pomiary\Łódź.csv as a Polish Windows program stores it.
      file.write(
          "[Options]\r\nSaveFile=C:\\Pomiary\\\xA3\xF3"
          "d\x9F.csv\r\nLanguage=0\r\nDiv=3\r\n");
    }
    {
      RecordedWindow recorded(dir.path());
      TFMain& window = *recorded.Window;
      QCOMPARE(Ui(window).save_file->text(), QString::fromUtf8("C:\\Pomiary\\Łódź.csv"));
      QCOMPARE(Ui(window).DivList->currentIndex(), 3);
      Ui(window).save_time->click();
      QVERIFY(recorded.Boxes.empty());
    }
    const QByteArray after = ReadAll(path);
    QVERIFY(
        after.startsWith("[Options]\r\nSaveFile=C:\\Pomiary\\\xA3\xF3"
                         "d\x9F.csv\r\nLanguage=0\r\nDiv=3\r\n"));
    QVERIFY(after.contains("\r\nSaveTime=0\r\n"));
    QVERIFY(after.contains("\r\nSavePeriod=1\r\n"));
  }
};

QTEST_MAIN(SettingsFileTest)
#include "tst_settings_file.moc"
