// Texts that show a state (speed unit, recording, connection) after a language is activated at
// start-up or by the picker: they follow the state in the new language.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#include "app/widgets/TBitBtn.h"
#include "device/HidBackendChoice.h"
#include "device/HidControllerClass.h"
#include "i18n/qt/TLangCombo.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"
#include "tests/support/FakeHidBackend.h"

using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;
using kvelt::hid::test::FakeHidBackend;

namespace {

struct UnitCaptions {
  QString Speed, Position, Resolution;
  bool operator==(const UnitCaptions&) const = default;
};

UnitCaptions CaptionsOf(const TFMain& window) {
  return {Ui(window).BoxPred->title(), Ui(window).BoxPos->title(), Ui(window).GroupBox1->title()};
}

char* toString(const UnitCaptions& captions) {
  return QTest::toString(captions.Speed + u'|' + captions.Position + u'|' + captions.Resolution);
}

void PickLanguage(TFMain& window, int language) {
  Ui(window).LangCombo1->setCurrentIndex(language - 1);
  emit Ui(window).LangCombo1->activated(language - 1);
}

// What the unit list's own change handler shows for the unit selected now.
UnitCaptions CaptionsAfterUnitChange(TFMain& window) {
  emit Ui(window).UnitList->activated(Ui(window).UnitList->currentIndex());
  return CaptionsOf(window);
}

// A window whose device controller works on a fake backend the test lays out.
class FakeDeviceWindow {
 public:
  explicit FakeDeviceWindow(std::vector<FakeHidBackend::Interface> interfaces) {
    previous_ = kvelt::app::SetMessageBoxPresenter([](const kvelt::app::MessageBoxRequest&) {});
    auto fake = std::make_unique<FakeHidBackend>(std::move(interfaces));
    fake_ = fake.get();
    auto shared = std::make_shared<std::unique_ptr<FakeHidBackend>>(std::move(fake));
    kvelt::hid::ScopedHidBackendFactory factory([shared] { return std::move(*shared); });
    kvelt::app::ProgramOptions options;
    options.ConfigDir = dir_.path();
    window_ = std::make_unique<TFMain>(options);
  }
  ~FakeDeviceWindow() {
    window_.reset();
    kvelt::app::SetMessageBoxPresenter(std::move(previous_));
  }
  FakeDeviceWindow(const FakeDeviceWindow&) = delete;
  FakeDeviceWindow& operator=(const FakeDeviceWindow&) = delete;

  TFMain& Window() { return *window_; }
  FakeHidBackend& Fake() { return *fake_; }
  // Waits for the first device search, which runs once the event loop does.
  bool WaitForFirstScan() {
    return QTest::qWaitFor([this] { return window_->StatusPanelText(1).size() > 0; }, 5000);
  }

 private:
  QTemporaryDir dir_;
  kvelt::app::MessageBoxPresenter previous_;
  FakeHidBackend* fake_ = nullptr;
  std::unique_ptr<TFMain> window_;
};

}  // namespace

class LanguageStateTest : public QObject {
  Q_OBJECT

 private slots:
  void unitCaptionsFollowTheUnit_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("atStartUp");
    for (int unit = 0; unit < 4; ++unit) {
      for (const int language : {1, 2}) {
        for (const bool atStartUp : {true, false}) {
          QTest::addRow("unit %d, %s, %s", unit, language == 1 ? "Polski" : "English",
                        atStartUp ? "start-up" : "switch")
              << unit << language << atStartUp;
        }
      }
    }
  }

  void unitCaptionsFollowTheUnit() {
    QFETCH(int, unit);
    QFETCH(int, language);
    QFETCH(bool, atStartUp);
    // A switch starts from the other language.
    const int stored = atStartUp ? language : 3 - language;
    WindowFixture fixture(
        {"[Options]", QStringLiteral("Unit=%1").arg(unit), QStringLiteral("Language=%1").arg(stored - 1)});
    TFMain& window = fixture.Window();
    if (!atStartUp) {
      PickLanguage(window, language);
    }
    QCOMPARE(window.Lang().ActiveLanguage(), language);
    const UnitCaptions shown = CaptionsOf(window);
    QCOMPARE(shown, CaptionsAfterUnitChange(window));
    QVERIFY(fixture.Boxes().empty());
  }

  void englishStartWithRevolutionsPerSecond() {
    WindowFixture fixture({"[Options]", "Unit=0", "Language=1"});
    QCOMPARE(CaptionsOf(fixture.Window()),
             (UnitCaptions{QStringLiteral("Velocity [rev/s]"), QStringLiteral("Position [rev]"),
                           QStringLiteral("Encoder resolution [pulse / rev]")}));
  }

  void recordButtonAfterASwitch_data() {
    QTest::addColumn<bool>("recording");
    QTest::addColumn<QString>("english");
    QTest::newRow("recording") << true << QStringLiteral("Stop recording data");
    QTest::newRow("idle") << false << QStringLiteral("Start recording data");
  }

  void recordButtonAfterASwitch() {
    QFETCH(bool, recording);
    QFETCH(QString, english);
    WindowFixture fixture({"[Options]", "Language=0"});
    TFMain& window = fixture.Window();
    if (recording) {
      Ui(window).SaveButton->click();
    }
    PickLanguage(window, 2);
    QCOMPARE(Ui(window).SaveButton->text(), english);
    // The next click does the opposite of what runs now.
    Ui(window).SaveButton->click();
    QCOMPARE(window.RecordingLogic().Recording(), !recording);
    PickLanguage(window, 1);
    QCOMPARE(Ui(window).SaveButton->text(),
             QString::fromUtf8(recording ? "Uruchom rejestrację danych" : "Zatrzymaj rejestrację danych"));
  }

  void autoSaveWithEnglishStored() {
    WindowFixture fixture({"[Options]", "AutoSave=1", "Language=1"});
    TFMain& window = fixture.Window();
    QVERIFY(window.RecordingLogic().Recording());
    QCOMPARE(Ui(window).SaveButton->text(), QStringLiteral("Stop recording data"));
    QCOMPARE(window.StatusPanelText(0), QStringLiteral("Record measurements to the file was running"));
    Ui(window).SaveButton->click();
    QVERIFY(!window.RecordingLogic().Recording());
  }

  void statusPanelsAfterASwitch_data() {
    QTest::addColumn<bool>("access");
    QTest::addColumn<QString>("polishState");
    QTest::addColumn<QString>("englishState");
    QTest::newRow("connected") << true << QString::fromUtf8("Połączony") << QStringLiteral("Connected");
    QTest::newRow("counter without access")
        << false << QString::fromUtf8("Rozłączony") << QStringLiteral("Disconnected");
  }

  void statusPanelsAfterASwitch() {
    QFETCH(bool, access);
    QFETCH(QString, polishState);
    QFETCH(QString, englishState);
    FakeDeviceWindow fixture({FakeHidBackend::Make("k", "KVELT", 0x1209, 0x0001, access)});
    TFMain& window = fixture.Window();
    QVERIFY(fixture.WaitForFirstScan());
    QCOMPARE(window.StatusPanelText(1), polishState);
    const QString polishHint = Ui(window).StatusPanels[1]->toolTip();
    PickLanguage(window, 2);
    const QString englishHint = Ui(window).StatusPanels[1]->toolTip();
    // Panel 0 tells the refresh's outcome; the hint itself is the tooltip (and a click's box).
    QCOMPARE(window.StatusPanelText(0),
             access ? QStringLiteral("KVELT counter connected")
                    : QString::fromUtf8("No access to the KVELT counter: click here for the fix"));
    QCOMPARE(window.StatusPanelText(1), englishState);
    QCOMPARE(englishHint.isEmpty(), access);
    if (!access) {
      QVERIFY(englishHint.startsWith(QStringLiteral("No permission")));
      QVERIFY(polishHint.startsWith(QString::fromUtf8("Brak uprawnie")));
    }
    PickLanguage(window, 1);
    QCOMPARE(window.StatusPanelText(0),
             QString::fromUtf8(access ? "Licznik KVELT połączony"
                                      : "Brak dostępu do licznika KVELT: kliknij tutaj po wskazówkę"));
    QCOMPARE(window.StatusPanelText(1), polishState);
    QCOMPARE(Ui(window).StatusPanels[1]->toolTip(), polishHint);
  }

  void onlyDeviceUnpluggedShowsDisconnected() {
    FakeDeviceWindow fixture({FakeHidBackend::Make("k", "KVELT")});
    TFMain& window = fixture.Window();
    QVERIFY(fixture.WaitForFirstScan());
    QCOMPARE(window.StatusPanelText(1), QString::fromUtf8("Połączony"));
    fixture.Fake().SetInterfaces({});
    fixture.Fake().Announce();
    QTRY_COMPARE(Ui(window).ListBox1->count(), 0);
    QVERIFY(window.CurrentDevice() == nullptr);
    QCOMPARE(window.StatusPanelText(1), QString::fromUtf8("Rozłączony"));
    // And in the other language after a switch.
    PickLanguage(window, 2);
    QCOMPARE(window.StatusPanelText(1), QStringLiteral("Disconnected"));
  }
};

QTEST_MAIN(LanguageStateTest)
#include "tst_language_state.moc"
