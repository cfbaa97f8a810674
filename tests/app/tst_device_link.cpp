// The device link end to end: the real window over the simulated counter or a fake backend.

#include <unistd.h>

#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/widgets/ReadableColour.h"
#include "app/widgets/TReadoutEdit.h"
#include "app/widgets/TextBox.h"
#include "device/HidBackendChoice.h"
#include "device/HidControllerClass.h"
#include "device/qt/CounterSession.h"
#include "device/sim/SimulatedBesideDevices.h"
#include "device/sim/SimulatedHidBackend.h"
#include "tests/app/support/WindowControls.h"
#include "tests/support/FakeHidBackend.h"

using kvelt::apptest::Ui;
using kvelt::hid::sim::SimulatedHidBackend;
using kvelt::hid::test::FakeHidBackend;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }
const QString kConnected = Utf8("Połączony");
const QString kDisconnected = Utf8("Rozłączony");
const QString kSimConnected = Utf8("Połączony (symulacja)");
const QString kSimOutcome = Utf8("Połączony symulowany licznik: to nie są pomiary");
const QString kNoCounter = Utf8("Brak licznika KVELT: podłącz go do portu USB");
const QString kNoAccess = Utf8("Brak dostępu do licznika KVELT: kliknij tutaj po wskazówkę");

// A window over its own config folder; with a fake backend when one is given, else the
// simulated counter. Message boxes are recorded, not shown.
class DeviceWindow {
 public:
  // `beside`: the simulated counter beside the fake's devices; `ini`: the lines of config.ini.
  explicit DeviceWindow(std::unique_ptr<FakeHidBackend> fake = nullptr, double unplugAfter = -1.0,
                        bool beside = false, const QStringList& ini = {}) {
    previous_ = kvelt::app::SetMessageBoxPresenter(
        [this](const kvelt::app::MessageBoxRequest& request) { boxes_.push_back(request.Text); });
    if (!ini.isEmpty()) {
      QFile file(dir_.filePath(QStringLiteral("config.ini")));
      if (file.open(QIODevice::WriteOnly)) file.write(ini.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    }
    kvelt::app::ProgramOptions options;
    options.ConfigDir = dir_.path();
    options.Simulate = !beside;
    options.SimulatedBeside = beside;
    options.SimulateUnplugAfterSeconds = unplugAfter;
    fake_ = fake.get();
    if (fake) {
      auto shared = std::make_shared<std::unique_ptr<FakeHidBackend>>(std::move(fake));
      kvelt::hid::ScopedHidBackendFactory factory([shared] { return std::move(*shared); });
      window_ = std::make_unique<TFMain>(options);
    } else {
      window_ = std::make_unique<TFMain>(options);
    }
  }
  ~DeviceWindow() {
    window_.reset();
    kvelt::app::SetMessageBoxPresenter(std::move(previous_));
  }

  TFMain& Window() { return *window_; }
  FakeHidBackend& Fake() { return *fake_; }
  SimulatedHidBackend& Sim() {
    kvelt::hid::HidBackend& backend = window_->Session()->Backend();
    if (auto* beside = dynamic_cast<kvelt::hid::sim::SimulatedBesideDevices*>(&backend))
      return beside->Simulated();
    return *dynamic_cast<SimulatedHidBackend*>(&backend);
  }
  QStringList Items() const {
    QStringList items;
    for (int i = 0; i < Ui(*window_).ListBox1->count(); ++i) items << Ui(*window_).ListBox1->item(i)->text();
    return items;
  }
  QString Panel(int n) const { return window_->StatusPanelText(n); }
  const QStringList& Boxes() const { return boxes_; }

 private:
  QTemporaryDir dir_;
  QStringList boxes_;
  kvelt::app::MessageBoxPresenter previous_;
  FakeHidBackend* fake_ = nullptr;
  std::unique_ptr<TFMain> window_;
};

std::vector<TReadoutEdit*> AllReadouts(const TFMain& window) {
  const kvelt::apptest::WindowControls ui = Ui(window);
  std::vector<TReadoutEdit*> boxes(ui.PositionReadouts.begin(), ui.PositionReadouts.end());
  boxes.insert(boxes.end(), ui.SpeedReadouts.begin(), ui.SpeedReadouts.end());
  return boxes;
}

bool AllReadoutsFilled(const TFMain& window) {
  for (std::size_t c = 0; c < 4; ++c) {
    if (Ui(window).PositionReadouts[c]->text().isEmpty() || Ui(window).SpeedReadouts[c]->text().isEmpty())
      return false;
  }
  return true;
}

// Waits until the counter has delivered a few more cycles of frames.
void WaitForFrames(DeviceWindow& fixture, std::uint64_t frames) {
  const std::uint64_t target = fixture.Sim().Counter().FramesSent() + frames;
  QTRY_VERIFY_WITH_TIMEOUT(fixture.Sim().Counter().FramesSent() >= target, 5000);
}

}  // namespace

class DeviceLinkTest : public QObject {
  Q_OBJECT

 private slots:
  // A device change or a request that comes after the session ended finds no session and
  // leaves the list empty.
  void afterTheSessionEndedNothingIsListedOrSent() {
    DeviceWindow fixture;
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    window.DestroyHidDeviceController();
    window.HidDeviceController1DeviceChange(&window);
    QCOMPARE(Ui(window).ListBox1->count(), 0);
    const quint8 payload[2] = {0, 0};
    window.SendReport(104, payload, sizeof payload);
    QVERIFY(window.CurrentDevice() == nullptr);
  }

  void firstScanFollowsWindowCreationAndConnects() {
    DeviceWindow fixture;
    TFMain& window = fixture.Window();
    // Nothing is scanned before the event loop runs.
    QCOMPARE(Ui(window).ListBox1->count(), 0);
    QVERIFY(window.CurrentDevice() == nullptr);
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    QCOMPARE(fixture.Items(),
             QStringList({QStringLiteral("Simulated keyboard"), Utf8("KVELT (S/N SIM-0001) (symulacja)")}));
    QCOMPARE(fixture.Panel(0), kSimOutcome);
    QVERIFY(window.CurrentDevice() != nullptr);
    QCOMPARE(window.CurrentDevice()->ProductString(), std::string("KVELT"));
    QVERIFY(window.CurrentDevice()->ReaderRunning());
    QVERIFY(Ui(window).StatusPanels[1]->toolTip().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(AllReadoutsFilled(window), 5000);
    WaitForFrames(fixture, 8);
    // Channel c + 1 turns at (c + 1) x 0.5 revolutions per second.
    for (std::size_t c = 0; c < 4; ++c) {
      QCOMPARE(window.Readings()[c].Speed, 0.5f * static_cast<float>(c + 1));
    }
    QVERIFY(window.Readings()[3].Position > 0.0f);
  }

  void unplugKeepsLastValuesAndReplugReconnects() {
    DeviceWindow fixture;
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    QTRY_VERIFY_WITH_TIMEOUT(AllReadoutsFilled(window), 5000);
    fixture.Sim().Unplug();
    QCOMPARE(fixture.Panel(1), kDisconnected);
    QCOMPARE(fixture.Panel(0), kNoCounter);
    QVERIFY(window.CurrentDevice() == nullptr);
    QCOMPARE(fixture.Items(), QStringList({QStringLiteral("Simulated keyboard")}));
    // Every value shown is marked old, greyed, with the time of its frame.
    for (TReadoutEdit* box : AllReadouts(window)) {
      QVERIFY(box->Stale());
      const QColor text = box->palette().color(QPalette::Text);  // grey, dark enough to read
      QVERIFY2(text.hslSaturation() < 32, qPrintable(text.name()));
      QVERIFY(kvelt::app::ReadableColour::Contrast(text, box->palette().color(QPalette::Base)) >= 4.5);
      QVERIFY2(box->toolTip().startsWith(Utf8("Ostatnia wartość, odebrana o ")), qPrintable(box->toolTip()));
    }
    const QString position = Ui(window).PositionReadouts[3]->text();
    const float kept = window.Readings()[3].Position;
    QTest::qWait(60);
    QCOMPARE(Ui(window).PositionReadouts[3]->text(), position);
    QCOMPARE(window.Readings()[3].Position, kept);
    // Commands sent meanwhile go nowhere.
    fixture.Sim().Counter().ClearReceivedReports();
    window.SendReport(106, "\x01", 1);
    QVERIFY(fixture.Sim().Counter().ReceivedReports().empty());

    fixture.Sim().Plug();
    QCOMPARE(fixture.Panel(1), kSimConnected);
    QVERIFY(window.CurrentDevice() != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(window.Readings()[3].Position != kept, 5000);
    // The next frame of each channel brings its own colour back.
    QTRY_VERIFY_WITH_TIMEOUT(
        std::ranges::none_of(AllReadouts(window), [](TReadoutEdit* box) { return box->Stale(); }), 5000);
    QVERIFY(Ui(window).PositionReadouts[0]->toolTip().isEmpty());
    QCOMPARE(Ui(window).PositionReadouts[0]->palette().color(QPalette::Text),
             Ui(window).PositionReadouts[1]->palette().color(QPalette::Text));
  }

  void sendReportFramesTheWholeOutputReport_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("no payload, null pointer") << 108 << QByteArray();
    QTest::newRow("one byte") << 106 << QByteArray("\x02", 1);
    QTest::newRow("five bytes") << 104 << QByteArray("\x01\x10\x27\x00\x00", 5);
    QTest::newRow("thirty bytes") << 107 << QByteArray(30, '\x7f');
    QTest::newRow("longer than the report: cut at 63") << 112 << QByteArray(100, '\x33');
  }

  void sendReportFramesTheWholeOutputReport() {
    QFETCH(int, code);
    QFETCH(QByteArray, payload);
    DeviceWindow fixture;
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    fixture.Sim().Counter().ClearReceivedReports();
    window.SendReport(static_cast<quint8>(code), payload.isEmpty() ? nullptr : payload.constData(),
                      static_cast<quint32>(payload.size()));
    const auto received = fixture.Sim().Counter().ReceivedReports();
    QCOMPARE(received.size(), std::size_t{1});
    std::vector<std::uint8_t> expected(65, 0);
    expected[0] = 1;
    expected[1] = static_cast<std::uint8_t>(code);
    for (int i = 0; i < payload.size() && i < 63; ++i)
      expected[static_cast<std::size_t>(2 + i)] = static_cast<std::uint8_t>(payload[i]);
    QCOMPARE(received[0], expected);
  }

  void twoReportsInARowAreSeparatelyZeroed() {
    DeviceWindow fixture;
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    fixture.Sim().Counter().ClearReceivedReports();
    const QByteArray first(30, '\x55');
    window.SendReport(107, first.constData(), 30);
    window.SendReport(106, "\x03", 1);
    const auto received = fixture.Sim().Counter().ReceivedReports();
    QCOMPARE(received.size(), std::size_t{2});
    std::vector<std::uint8_t> second(65, 0);
    second[0] = 1;
    second[1] = 106;
    second[2] = 3;
    QCOMPARE(received[1], second);
  }

  void sendReportWithoutDeviceDoesNothing() {
    DeviceWindow fixture(std::make_unique<FakeHidBackend>(std::vector<FakeHidBackend::Interface>{}));
    TFMain& window = fixture.Window();
    window.SendReport(104, "\x00\x01\x02\x03\x04", 5);  // before the first scan
    QTRY_VERIFY(window.Session()->Controller().NumCheckedOutDevices() == 0 &&
                !window.Session()->Controller().ScanRunning());
    QCoreApplication::processEvents();
    window.SendReport(108, nullptr, 0);
    QVERIFY(window.CurrentDevice() == nullptr);
    QCOMPARE(Ui(window).ListBox1->count(), 0);
    QVERIFY(fixture.Fake().Written().empty());
    QVERIFY(fixture.Boxes().isEmpty());
  }

  void outputReportLongerThan256BytesIsSentWhole() {
    FakeHidBackend::Interface counter = FakeHidBackend::Make("fake/long", "KVELT");
    counter.Info.OutputReportByteLength = 300;
    DeviceWindow fixture(std::make_unique<FakeHidBackend>(std::vector{counter}));
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kConnected);
    const QByteArray payload(298, '\x11');
    window.SendReport(107, payload.constData(), 1000);
    const auto written = fixture.Fake().Written();
    QCOMPARE(written.size(), std::size_t{1});
    QCOMPARE(written[0].size(), std::size_t{300});
    QCOMPARE(written[0][0], std::uint8_t{1});
    QCOMPARE(written[0][1], std::uint8_t{107});
    QCOMPARE(written[0][299], std::uint8_t{0x11});
  }

  void choiceOfTheCounter_data() {
    using I = FakeHidBackend::Interface;
    QTest::addColumn<std::vector<I>>("interfaces");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("current");  // index of CurrentDevice among the items, -1 for none
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("outcome");      // panel 0 after the refresh
    QTest::addColumn<QString>("placeholder");  // what the empty read-outs say
    I serial = FakeHidBackend::Make("c", "KVELT");
    serial.Info.SerialNumber = "A7";
    QTest::newRow("two counters: the later one wins")
        << std::vector<I>{FakeHidBackend::Make("a", "KVELT"), FakeHidBackend::Make("b", "Mouse"), serial}
        << QStringList{"KVELT", "Mouse", "KVELT (S/N A7)"} << 2 << kConnected
        << Utf8("Licznik KVELT połączony (S/N A7)") << QString();
    QTest::newRow("empty product string: the ids")
        << std::vector<I>{FakeHidBackend::Make("a", "", 0x1234, 0x00AB)}
        << QStringList{"Device VID=1234 PID=00AB"} << -1 << kDisconnected << kNoCounter
        << Utf8("Podłącz licznik");
    QTest::newRow("letter case and a trailing blank do not match")
        << std::vector<I>{FakeHidBackend::Make("a", "kvelt"), FakeHidBackend::Make("b", "KVELT ")}
        << QStringList{"kvelt", "KVELT "} << -1 << kDisconnected << kNoCounter << Utf8("Podłącz licznik");
    QTest::newRow("counter without read/write access")
        << std::vector<I>{FakeHidBackend::Make("a", "KVELT", 0x1209, 0x0001, false)}
        << QStringList{Utf8("KVELT (brak dostępu)")} << 0 << kDisconnected << kNoAccess
        << Utf8("Brak dostępu");
    QTest::newRow("UTF-8 product string")
        << std::vector<I>{FakeHidBackend::Make("a",
                                               "Czytnik \xc5\x81\xc3\xb3"
                                               "d\xc5\xba")}
        << QStringList{Utf8("Czytnik Łódź")} << -1 << kDisconnected << kNoCounter << Utf8("Podłącz licznik");
  }

  void choiceOfTheCounter() {
    QFETCH(std::vector<FakeHidBackend::Interface>, interfaces);
    QFETCH(QStringList, labels);
    QFETCH(int, current);
    QFETCH(QString, panel);
    QFETCH(QString, outcome);
    QFETCH(QString, placeholder);
    DeviceWindow fixture(std::make_unique<FakeHidBackend>(interfaces));
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Items(), labels);
    QCOMPARE(fixture.Panel(1), panel);
    QCOMPARE(fixture.Panel(0), outcome);
    QCOMPARE(Ui(window).SpeedReadouts[2]->placeholderText(), placeholder);
    QCOMPARE(window.Session()->Devices().size(), static_cast<std::size_t>(labels.size()));
    if (current < 0) {
      QVERIFY(window.CurrentDevice() == nullptr);
    } else {
      QCOMPARE(window.CurrentDevice(), window.Session()->Devices()[static_cast<std::size_t>(current)].Device);
    }
    bool readWrite = current >= 0 && window.CurrentDevice()->ReadWriteAccess();
    // Only the chosen counter with access has a data handler; the tooltip explains a missing access.
    for (std::size_t i = 0; i < window.Session()->Devices().size(); ++i) {
      const bool chosen = static_cast<int>(i) == current && readWrite;
      QCOMPARE(static_cast<bool>(window.Session()->Devices()[i].Device->DataHandler()), chosen);
      QCOMPARE(window.Session()->Devices()[i].Device->ReaderRunning(), chosen);
    }
    const bool noAccess = current >= 0 && !readWrite;
    QCOMPARE(Ui(window).StatusPanels[1]->toolTip().contains(QStringLiteral("70-kvelt.rules")), noAccess);
    // A click on panel 0 opens the whole hint, commands included, to be read and copied.
    QTest::mouseClick(Ui(window).StatusPanels[0], Qt::LeftButton);
    auto* box = window.findChild<TextBox*>();
    QCOMPARE(box != nullptr, noAccess);
    if (box != nullptr) {
      QVERIFY(box->Text().startsWith(window.CurrentAccessHint()));
      QVERIFY(box->Text().endsWith(QStringLiteral("sudo udevadm trigger --subsystem-match=hidraw")));
      box->CopyButton()->click();
      QCOMPARE(QGuiApplication::clipboard()->text(), box->Text());
      box->close();
    }
  }

  // The simulated counter beside the devices: the title and panel 1 say when it is the counter;
  // a real counter, present at start or plugged in later, is chosen over it.
  void simulatedCounterBesideRealOnes_data() {
    using I = FakeHidBackend::Interface;
    QTest::addColumn<std::vector<I>>("interfaces");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("englishTitle");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("outcome");
    const QString simulated = Utf8("KVELT (S/N SIM-0001) (symulacja)");
    QTest::newRow("simulated only") << std::vector<I>{} << QStringList{simulated}
                                    << Utf8("KVELT - PC (symulacja)") << Utf8("KVELT - PC (simulation)")
                                    << kSimConnected << kSimOutcome;
    QTest::newRow("a real counter") << std::vector<I>{FakeHidBackend::Make("k", "KVELT")}
                                    << QStringList{simulated, "KVELT"} << QStringLiteral("KVELT - PC")
                                    << QStringLiteral("KVELT - PC") << kConnected
                                    << Utf8("Licznik KVELT połączony");
    QTest::newRow("a real counter without access")
        << std::vector<I>{FakeHidBackend::Make("k", "KVELT", 0x1209, 0x0001, false)}
        << QStringList{simulated, Utf8("KVELT (brak dostępu)")} << QStringLiteral("KVELT - PC")
        << QStringLiteral("KVELT - PC") << kDisconnected << kNoAccess;
  }

  void simulatedCounterBesideRealOnes() {
    QFETCH(std::vector<FakeHidBackend::Interface>, interfaces);
    QFETCH(QStringList, labels);
    QFETCH(QString, title);
    QFETCH(QString, englishTitle);
    QFETCH(QString, panel);
    QFETCH(QString, outcome);
    DeviceWindow fixture(std::make_unique<FakeHidBackend>(interfaces), -1.0, true);
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Items(), labels);
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(fixture.Panel(1), panel);
    QCOMPARE(fixture.Panel(0), outcome);
    window.ActivateLanguage(2);
    QCOMPARE(window.windowTitle(), englishTitle);
    window.ActivateLanguage(1);
    QCOMPARE(window.windowTitle(), title);
    // A real counter plugged in later is chosen, and the title stops naming the simulation.
    fixture.Fake().AddInterface(FakeHidBackend::Make("late", "KVELT"));
    fixture.Fake().Announce();
    QCOMPARE(fixture.Items().last(), QStringLiteral("KVELT"));
    QCOMPARE(fixture.Panel(1), kConnected);
    QCOMPARE(window.windowTitle(), QStringLiteral("KVELT - PC"));
    QVERIFY(!window.Session()->CounterSimulated());
    QCOMPARE(window.CurrentDevice(), window.Session()->Devices().back().Device);
  }

  // A start that begins recording: the refresh's outcome keeps the recording message beside it.
  void autoSaveMessageOutlivesTheFirstRefresh() {
    DeviceWindow fixture(nullptr, -1.0, false, {"[Options]", "AutoSave=1"});
    const QString recording = fixture.Panel(0);
    QVERIFY(!recording.isEmpty());
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    QCOMPARE(fixture.Panel(0), kSimOutcome + Utf8(" · ") + recording);
    fixture.Sim().Unplug();
    QCOMPARE(fixture.Panel(0), kNoCounter + Utf8(" · ") + recording);
  }

  void anyDeviceChangeRebuildsTheListAndKeepsTheCounterReading() {
    std::vector<FakeHidBackend::Interface> interfaces{FakeHidBackend::Make("k", "KVELT")};
    DeviceWindow fixture(std::make_unique<FakeHidBackend>(interfaces));
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kConnected);
    kvelt::hid::THidDevice* before = window.CurrentDevice();
    interfaces.push_back(FakeHidBackend::Make("m", "Mouse"));
    fixture.Fake().SetInterfaces(interfaces);
    fixture.Fake().Announce();
    QCOMPARE(fixture.Items(), QStringList({"KVELT", "Mouse"}));
    QCOMPARE(fixture.Panel(1), kConnected);
    QVERIFY(window.CurrentDevice() != nullptr);
    QCOMPARE(window.CurrentDevice(), before);  // stayed lent: its reader never stopped
    QVERIFY(window.CurrentDevice()->ReaderRunning());
    // A notice that changes nothing does not touch the list.
    kvelt::hid::THidDevice* after = window.CurrentDevice();
    fixture.Fake().Announce();
    QCOMPARE(window.CurrentDevice(), after);
  }

  void thousandPlugCyclesStayConsistent() {
    DeviceWindow fixture;
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    for (int cycle = 0; cycle < 1000; ++cycle) {
      fixture.Sim().Unplug();
      if (window.CurrentDevice() != nullptr || Ui(window).ListBox1->count() != 1)
        QFAIL("unplug left the counter listed");
      fixture.Sim().Plug();
      if (window.CurrentDevice() == nullptr || fixture.Panel(1) != kSimConnected)
        QFAIL("replug did not reconnect");
      QCoreApplication::processEvents();
    }
    QCOMPARE(window.Session()->Controller().Count(), 2);
    QCOMPARE(window.Session()->Controller().NumCheckedOutDevices(), 2);
    const float before = window.Readings()[0].Position;
    QTRY_VERIFY_WITH_TIMEOUT(window.Readings()[0].Position != before, 5000);
  }

  // Another program holds the counter: the window says who, and takes the counter once it is free.
  void counterInUseIsNamedAndTakenWhenFreed() {
    DeviceWindow fixture;
    TFMain& window = fixture.Window();
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    fixture.Sim().Unplug();
    kvelt::hid::HidLockResult other = fixture.Sim().LockDevice(SimulatedHidBackend::CounterInterface());
    QVERIFY(other.Lock != nullptr);
    fixture.Sim().Plug();
    QCOMPARE(fixture.Panel(1), kDisconnected);
    QVERIFY(window.StatusPanelText(0).contains(QStringLiteral("(PID %1)").arg(::getpid())));
    QVERIFY(window.CurrentDevice() != nullptr && !window.CurrentDevice()->ReaderRunning());
    other.Lock.reset();
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    QVERIFY(window.CurrentDevice()->ReaderRunning());
    QVERIFY(Ui(window).StatusPanels[0]->toolTip().isEmpty());
    QVERIFY(!window.StatusPanelText(0).contains(QStringLiteral("PID")));
  }

  void commandLineUnplugsAndReplugsOnce() {
    DeviceWindow fixture(nullptr, 0.2);
    QTRY_COMPARE(fixture.Panel(1), kSimConnected);
    QTRY_COMPARE_WITH_TIMEOUT(fixture.Panel(1), kDisconnected, 3000);
    QVERIFY(fixture.Window().CurrentDevice() == nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(fixture.Panel(1), kSimConnected, 3000);
  }

  void commandLineOption_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("simulate");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("beside");
    QTest::newRow("none") << QStringList{"kvelt-pc"} << false << -1.0 << false;
    QTest::newRow("simulate") << QStringList{"kvelt-pc", "--simulate"} << true << -1.0 << false;
    QTest::newRow("unplug implies simulate")
        << QStringList{"kvelt-pc", "--simulate-unplug-after", "5"} << true << 5.0 << false;
    QTest::newRow("fraction, C notation")
        << QStringList{"kvelt-pc", "--simulate-unplug-after=0.5"} << true << 0.5 << false;
    QTest::newRow("beside the devices, unplugged there")
        << QStringList{"kvelt-pc", "--with-simulated", "--simulate-unplug-after=2"} << false << 2.0 << true;
    QTest::newRow("simulated only wins")
        << QStringList{"kvelt-pc", "--with-simulated", "--simulate"} << true << -1.0 << false;
  }

  void commandLineOption() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, simulate);
    QFETCH(double, seconds);
    QFETCH(bool, beside);
    kvelt::app::CommandLine commandLine;
    const kvelt::app::ProgramOptions options = commandLine.Parse(arguments);
    QCOMPARE(options.Simulate, simulate);
    QCOMPARE(options.SimulatedBeside, beside);
    QCOMPARE(options.SimulateUnplugAfterSeconds, seconds);
  }
};

QTEST_MAIN(DeviceLinkTest)
#include "tst_device_link.moc"
