// The chart page keeps its tab hidden: no key combination, mnemonic or wheel turn over the tab
// bar makes it the current page, while the same routes still move between the visible pages.

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <QtTest>

#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

// Where a key is pressed: a control inside the current page, the tab bar, or the notebook.
enum class Target { InPage, TabBar, Notebook };

QWidget* PageByName(TFMain& window, const QString& name) {
  return window.Control<QWidget>(name.toLatin1().constData());
}

QWidget* Receiver(TFMain& window, Target target) {
  switch (target) {
    case Target::TabBar:
      return Ui(window).PageControl1->tabBar();
    case Target::Notebook:
      return Ui(window).PageControl1;
    case Target::InPage:
      break;
  }
  // A control of the current page that ignores the page keys, so they travel up to the notebook.
  QWidget* page = Ui(window).PageControl1->currentWidget();
  const QList<QWidget*> controls = page->findChildren<QWidget*>();
  for (QWidget* control : controls) {
    if (control->focusPolicy() != Qt::NoFocus && control->isVisibleTo(page) && control->isEnabled() &&
        qobject_cast<QLineEdit*>(control) == nullptr) {
      return control;
    }
  }
  return page;
}

void Wheel(QWidget* widget, int angle) {
  const QPointF centre = QRectF(widget->rect()).center();
  QWheelEvent event(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, angle), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

Q_DECLARE_METATYPE(Target)

class PageKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void routeStepsOverTheChartPage_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("to");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const int none = Qt::NoModifier;
    const auto row = [](const char* name, const char* from, Target target, int key, int modifiers,
                        const char* to) {
      QTest::newRow(name) << QString::fromLatin1(from) << target << key << modifiers
                          << QString::fromLatin1(to);
    };
    row("Ctrl+Tab in a page", "TabSheet2", Target::InPage, Qt::Key_Tab, ctrl, "TabSheet3");
    row("Ctrl+Tab on the bar", "TabSheet2", Target::TabBar, Qt::Key_Tab, ctrl, "TabSheet3");
    row("Ctrl+Tab wraps round", "TabSheet4", Target::InPage, Qt::Key_Tab, ctrl, "TabSheet2");
    row("Ctrl+Shift+Tab", "TabSheet3", Target::InPage, Qt::Key_Tab, ctrlShift, "TabSheet2");
    row("Ctrl+Shift+Backtab", "TabSheet3", Target::Notebook, Qt::Key_Backtab, ctrlShift, "TabSheet2");
    row("Ctrl+Backtab", "TabSheet3", Target::TabBar, Qt::Key_Backtab, ctrl, "TabSheet2");
    row("Ctrl+Shift+Tab wraps round", "TabSheet2", Target::InPage, Qt::Key_Tab, ctrlShift, "TabSheet4");
    row("Ctrl+PgDn", "TabSheet2", Target::InPage, Qt::Key_PageDown, ctrl, "TabSheet3");
    row("Ctrl+PgUp", "TabSheet3", Target::InPage, Qt::Key_PageUp, ctrl, "TabSheet2");
    row("Ctrl+PgUp on the bar", "TabSheet3", Target::TabBar, Qt::Key_PageUp, ctrl, "TabSheet2");
    row("bar Right", "TabSheet2", Target::TabBar, Qt::Key_Right, none, "TabSheet3");
    row("bar Left", "TabSheet3", Target::TabBar, Qt::Key_Left, none, "TabSheet2");
    row("bar Left at the first page", "TabSheet2", Target::TabBar, Qt::Key_Left, none, "TabSheet2");
    row("bar Down", "TabSheet2", Target::TabBar, Qt::Key_Down, none, "TabSheet3");
    row("bar Up", "TabSheet3", Target::TabBar, Qt::Key_Up, none, "TabSheet2");
    row("bar Home", "TabSheet4", Target::TabBar, Qt::Key_Home, none, "TabSheet2");
    row("bar End", "TabSheet2", Target::TabBar, Qt::Key_End, none, "TabSheet4");
  }

  void routeStepsOverTheChartPage() {
    QFETCH(QString, from);
    QFETCH(Target, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, to);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Ui(window).PageControl1->setCurrentWidget(PageByName(window, from));
    QWidget* receiver = Receiver(window, target);
    receiver->setFocus();
    QSignalSpy changes(Ui(window).PageControl1, &QTabWidget::currentChanged);
    QTest::keyClick(receiver, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Ui(window).PageControl1->currentWidget()->objectName(), to);
    const int chart = Ui(window).PageControl1->indexOf(Ui(window).TabSheet1);
    for (const QList<QVariant>& change : changes) {
      QVERIFY(change.at(0).toInt() != chart);
    }
  }

  // Every route pressed many times from every visible page: the chart page never comes up,
  // not even for a moment.
  void repeatedRoutesNeverShowTheChartPage() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int chart = Ui(window).PageControl1->indexOf(Ui(window).TabSheet1);
    QSignalSpy changes(Ui(window).PageControl1, &QTabWidget::currentChanged);
    struct Press {
      Target At;
      Qt::Key Key;
      Qt::KeyboardModifiers Modifiers;
    };
    const Press presses[] = {
        {Target::InPage, Qt::Key_Tab, Qt::ControlModifier},
        {Target::InPage, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier},
        {Target::InPage, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
        {Target::InPage, Qt::Key_PageDown, Qt::ControlModifier},
        {Target::InPage, Qt::Key_PageUp, Qt::ControlModifier},
        {Target::TabBar, Qt::Key_Right, Qt::NoModifier},
        {Target::TabBar, Qt::Key_Left, Qt::NoModifier},
        {Target::TabBar, Qt::Key_Down, Qt::NoModifier},
        {Target::TabBar, Qt::Key_Up, Qt::NoModifier},
        {Target::TabBar, Qt::Key_Home, Qt::NoModifier},
        {Target::TabBar, Qt::Key_End, Qt::NoModifier},
    };
    for (QWidget* start : {Ui(window).TabSheet2, Ui(window).TabSheet3, Ui(window).TabSheet4}) {
      for (const Press& press : presses) {
        Ui(window).PageControl1->setCurrentWidget(start);
        for (int n = 0; n < 5; ++n) {
          QWidget* receiver = Receiver(window, press.At);
          receiver->setFocus();
          QTest::keyClick(receiver, press.Key, press.Modifiers);
          QVERIFY(Ui(window).PageControl1->currentWidget() != Ui(window).TabSheet1);
        }
      }
    }
    QVERIFY(changes.size() > 20);
    for (const QList<QVariant>& change : changes) {
      QVERIFY(change.at(0).toInt() != chart);
    }
  }

  // A mnemonic given to the hidden tab's caption does not reach it; one on a visible tab does
  // (which shows the shortcut route is live in this test).
  void mnemonicOfTheHiddenTabIsRefused() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    QTabWidget* tabs = Ui(window).PageControl1;
    tabs->setTabText(tabs->indexOf(Ui(window).TabSheet1), QStringLiteral("&Wykres"));
    tabs->setTabText(tabs->indexOf(Ui(window).TabSheet3), QStringLiteral("&Konfiguracja"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Ui(window).PageControl1->tabBar()->setFocus();
    QTest::keyClick(&window, Qt::Key_W, Qt::AltModifier);
    QCOMPARE(tabs->currentWidget(), Ui(window).TabSheet2);
    QTest::keyClick(&window, Qt::Key_K, Qt::AltModifier);
    QCOMPARE(tabs->currentWidget(), Ui(window).TabSheet3);
    QTest::keyClick(&window, Qt::Key_W, Qt::AltModifier);
    QCOMPARE(tabs->currentWidget(), Ui(window).TabSheet3);
  }

  void wheelOverTheTabBarStepsOverTheChartPage_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("angle");
    QTest::addColumn<QString>("to");
    QTest::newRow("turned towards the user")
        << QStringLiteral("TabSheet2") << -120 << QStringLiteral("TabSheet3");
    QTest::newRow("turned away") << QStringLiteral("TabSheet3") << 120 << QStringLiteral("TabSheet2");
  }

  void wheelOverTheTabBarStepsOverTheChartPage() {
    QFETCH(QString, from);
    QFETCH(int, angle);
    QFETCH(QString, to);
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Ui(window).PageControl1->setCurrentWidget(PageByName(window, from));
    Wheel(Ui(window).PageControl1->tabBar(), angle);
    QCOMPARE(Ui(window).PageControl1->currentWidget()->objectName(), to);
  }

  // Code may still show the page, and the keys lead away from it to the visible pages.
  void codeShowsTheChartPageAndKeysLeaveIt() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Ui(window).PageControl1->setCurrentWidget(Ui(window).TabSheet1);
    QCOMPARE(Ui(window).PageControl1->currentWidget(), Ui(window).TabSheet1);
    QVERIFY(!Ui(window).PageControl1->isTabVisible(Ui(window).PageControl1->indexOf(Ui(window).TabSheet1)));
    QTest::keyClick(Ui(window).PageControl1, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(Ui(window).PageControl1->currentWidget(), Ui(window).TabSheet3);
  }
};

QTEST_MAIN(PageKeysTest)
#include "tst_page_keys.moc"
