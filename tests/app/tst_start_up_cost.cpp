// What start-up does and does not do before the first frame: --quit-after-show closes after the
// window's first paint; the save dialogs are built only when first run, with the texts in force
// at that moment.

#include <QFileDialog>
#include <QSignalSpy>
#include <QtTest>

#include "app/FirstPaintCloser.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "tests/app/support/SaveDialogAnswer.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

// Counts the paint events of a window and whether it was closed before any.
class PaintWatcher : public QObject {
 public:
  explicit PaintWatcher(QWidget* window) { window->installEventFilter(this); }
  int Paints = 0;
  int PaintsAtClose = -1;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++Paints;
    } else if (event->type() == QEvent::Close && PaintsAtClose < 0) {
      PaintsAtClose = Paints;
    }
    return false;
  }
};

}  // namespace

class StartUpCostTest : public QObject {
  Q_OBJECT

 private slots:
  void closesAfterTheFirstPaint() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    PaintWatcher watcher(&window);
    auto* closer = new kvelt::app::FirstPaintCloser(&window);
    QCoreApplication::processEvents();  // nothing is painted before the window is shown
    QVERIFY(!closer->Painted());
    window.show();
    QVERIFY(window.isVisible());
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(closer->Painted());
    QVERIFY2(watcher.PaintsAtClose >= 1, qPrintable(QString::number(watcher.PaintsAtClose)));
    // Shown again, it stays: the close belongs to the first paint only.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);
    QVERIFY(window.isVisible());
  }

  void saveDialogsAreBuiltOnFirstRun() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(Ui(window).SaveDialog->Built() == nullptr);
    QVERIFY(Ui(window).SaveDialogBitmap->Built() == nullptr);
    QVERIFY(window.findChildren<QFileDialog*>().isEmpty());
    // Run through a presenter, the dialog is still not built: only the modal run builds it.
    {
      DialogAnswer answer(std::nullopt);
      Ui(window).SaveChartButton->click();
      QCOMPARE(answer.Shown.size(), std::size_t{1});
    }
    QVERIFY(Ui(window).SaveDialogBitmap->Built() == nullptr);
  }

  // Built after a language switch, the dialog carries the texts in force; switched afterwards,
  // it follows.
  void builtDialogCarriesTheCurrentTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("englishTitle");
    QTest::addColumn<QStringList>("englishFilters");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("confirmsOverwrite");
    QTest::newRow("SaveDialog") << QStringLiteral("SaveDialog") << QStringLiteral("Data file")
                                << QStringList{QStringLiteral("Text file (*.txt)"),
                                               QStringLiteral("CSV file (*.csv)")}
                                << QStringLiteral("csv") << false;
    QTest::newRow("SaveDialogBitmap")
        << QStringLiteral("SaveDialogBitmap") << QStringLiteral("Data file")
        << QStringList{QStringLiteral("Bitmap (*.bmp)")} << QStringLiteral("bmp") << true;
  }

  void builtDialogCarriesTheCurrentTexts() {
    QFETCH(QString, name);
    QFETCH(QString, englishTitle);
    QFETCH(QStringList, englishFilters);
    QFETCH(QString, suffix);
    QFETCH(bool, confirmsOverwrite);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    auto* dialog = window.Control<TSaveDialog>(name.toLatin1().constData());
    QVERIFY(dialog != nullptr);
    const QStringList polishFilters = dialog->nameFilters();
    window.ActivateLanguage(2);
    QVERIFY(dialog->Built() == nullptr);
    QFileDialog& built = dialog->Dialog();
    QCOMPARE(dialog->Built(), &built);
    QCOMPARE(built.windowTitle(), englishTitle);
    QCOMPARE(built.nameFilters(), englishFilters);
    QCOMPARE(built.defaultSuffix(), suffix);
    QCOMPARE(built.acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(built.fileMode(), QFileDialog::AnyFile);
    QCOMPARE(!built.testOption(QFileDialog::DontConfirmOverwrite), confirmsOverwrite);
    QCOMPARE(&dialog->Dialog(), &built);  // built once
    window.ActivateLanguage(1);
    QCOMPARE(built.windowTitle(), QStringLiteral("Plik pomiarowy"));
    QCOMPARE(built.nameFilters(), polishFilters);
  }
};

QTEST_MAIN(StartUpCostTest)
#include "tst_start_up_cost.moc"
