// The real window over the real Linux backend in a umockdev sandbox: the device list follows
// hot-plug uevents, and a counter the user may not open is explained where it is seen, in the
// active language, until the udev rule applies and the counter connects without a replug.

#include <unistd.h>

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "device/HidBackendChoice.h"
#include "device/HidControllerClass.h"
#include "device/linux/LinuxHidBackend.h"
#include "device/qt/CounterSession.h"
#include "settings/ProgramPaths.h"
#include "tests/device/umockdev/MockHidBus.h"

using kvelt::hid::test::KeyboardReportDescriptor;
using kvelt::hid::test::KveltCounter;
using kvelt::hid::test::MockHidBus;
using kvelt::hid::test::MockHidDevice;

namespace {

constexpr int kTimeoutMs = 5000;

// A window over its own config folder on the sandbox's devices; message boxes are recorded.
class SandboxWindow {
 public:
  SandboxWindow() {
    previous_ = kvelt::app::SetMessageBoxPresenter(
        [this](const kvelt::app::MessageBoxRequest& request) { boxes_ << request.Text; });
    kvelt::app::ProgramOptions options;
    options.ConfigDir = dir_.path();
    kvelt::hid::ScopedHidBackendFactory factory(
        [] { return kvelt::CreateLinuxHidBackend({.UdevRunning = kvelt::hid::test::kSandboxUdevRunning}); });
    window_ = std::make_unique<TFMain>(options);
  }
  ~SandboxWindow() {
    window_.reset();
    kvelt::app::SetMessageBoxPresenter(std::move(previous_));
  }
  TFMain& W() { return *window_; }
  QStringList Items() const {
    QStringList items;
    for (int i = 0; i < window_->Control<QListWidget>("ListBox1")->count(); ++i)
      items << window_->Control<QListWidget>("ListBox1")->item(i)->text();
    return items;
  }
  QString Panel(int n) const { return window_->StatusPanelText(n); }
  const QStringList& Boxes() const { return boxes_; }

 private:
  QTemporaryDir dir_;
  QStringList boxes_;
  kvelt::app::MessageBoxPresenter previous_;
  std::unique_ptr<TFMain> window_;
};

QString RulePath() {
  const QByteArray dir = QCoreApplication::applicationDirPath().toUtf8();
  return QString::fromStdString(
      kvelt::ProgramPaths::UdevRulePath(std::string_view(dir.constData(), dir.size())));
}

}  // namespace

class WindowOnMockedKernel : public QObject {
  Q_OBJECT

 private slots:
  void listFollowsHotPlug() {
    MockHidBus bus;
    const MockHidDevice keyboard = kvelt::hid::test::UsbKeyboard(0);
    const MockHidDevice counter = KveltCounter(1);
    bus.Add(keyboard);
    QVERIFY(bus.SetNodeMode(keyboard, 0));
    SandboxWindow sandbox;
    QTRY_COMPARE_WITH_TIMEOUT(sandbox.Items(), QStringList({QStringLiteral("USB Keyboard")}), kTimeoutMs);
    QCOMPARE(sandbox.Panel(1), QString::fromUtf8("Rozłączony"));
    QVERIFY(sandbox.W().CurrentDevice() == nullptr);

    // The counter arrives while the program runs.
    bus.Add(counter);
    bus.Uevent(counter, "add");
    QTRY_COMPARE_WITH_TIMEOUT(sandbox.Items(), QStringList({"USB Keyboard", "KVELT"}), kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(sandbox.Panel(1), QString::fromUtf8("Połączony"), kTimeoutMs);
    QVERIFY(sandbox.W().CurrentDevice() != nullptr);
    QVERIFY(sandbox.W().CurrentDevice()->ReaderRunning());
    QVERIFY(sandbox.W().Control<QLabel>("StatusPanel1")->toolTip().isEmpty());

    // It goes.
    bus.Uevent(counter, "remove");
    bus.Remove(counter);
    QTRY_COMPARE_WITH_TIMEOUT(sandbox.Items(), QStringList({QStringLiteral("USB Keyboard")}), kTimeoutMs);
    QVERIFY(sandbox.W().CurrentDevice() == nullptr);
    QCOMPARE(sandbox.Panel(1), QString::fromUtf8("Rozłączony"));
    QVERIFY(sandbox.Boxes().isEmpty());
  }

  void missingPermissionIsExplainedUntilTheRuleApplies() {
    QVERIFY2(::geteuid() != 0, "permission checks need an unprivileged user; ctest runs this as nobody");
    MockHidBus bus;
    const MockHidDevice counter = KveltCounter(0);
    bus.Add(counter);
    QVERIFY(bus.SetNodeMode(counter, 0));
    SandboxWindow sandbox;
    TFMain& w = sandbox.W();
    QTRY_COMPARE_WITH_TIMEOUT(sandbox.Items(), QStringList({QString::fromUtf8("KVELT (brak dostępu)")}),
                              kTimeoutMs);
    QCOMPARE(sandbox.Panel(1), QString::fromUtf8("Rozłączony"));
    QCOMPARE(sandbox.Panel(0),
             QString::fromUtf8("Brak dostępu do licznika KVELT: kliknij tutaj po wskazówkę"));

    // In Polish, naming this copy's rule and the commands (a click on the panel shows it whole).
    const QString polish = w.CurrentAccessHint();
    QVERIFY2(polish.startsWith(QString::fromUtf8("Brak uprawnień")), qPrintable(polish));
    QVERIFY2(polish.contains(RulePath()), qPrintable(polish));
    QVERIFY(polish.contains(QStringLiteral("sudo udevadm trigger --subsystem-match=hidraw")));
    QCOMPARE(w.Control<QLabel>("StatusPanel1")->toolTip(), polish);
    QCOMPARE(w.Control<QLabel>("StatusPanel0")->toolTip(), polish);

    // After a switch to English the hint is shown again in English.
    w.ActivateLanguage(2);
    const QString english = w.CurrentAccessHint();
    QVERIFY2(english.startsWith(QStringLiteral("No permission")), qPrintable(english));
    QVERIFY(english.contains(RulePath()));
    QCOMPARE(w.Control<QLabel>("StatusPanel1")->toolTip(), english);

    // The rule is installed and triggered: udev changes the mode and sends "change".
    QVERIFY(bus.SetNodeMode(counter, 0660));
    bus.Uevent(counter, "change");
    QTRY_COMPARE_WITH_TIMEOUT(sandbox.Panel(1), QStringLiteral("Connected"), kTimeoutMs);
    QVERIFY(w.CurrentDevice() != nullptr);
    QVERIFY(w.CurrentDevice()->ReaderRunning());
    QVERIFY(w.CurrentAccessHint().isEmpty());
    QVERIFY(w.Control<QLabel>("StatusPanel0")->toolTip().isEmpty());
    QVERIFY(w.Control<QLabel>("StatusPanel1")->toolTip().isEmpty());
  }
};

QTEST_MAIN(WindowOnMockedKernel)
#include "tst_window_on_mocked_kernel.moc"
