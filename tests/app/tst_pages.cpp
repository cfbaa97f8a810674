// Pages on bare widgets, without a window: what only a page decides; the named-object lookup
// the translation table's captions go through.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "app/pages/ProgramSettingsPage.h"
#include "app/widgets/NamedObjectRegistry.h"
#include "settings/CheckBoxSettings.h"
#include "settings/IniSession.h"
#include "settings/SettingsKeys.h"

namespace {

// The controls of the program settings page, each list with a few entries.
struct SettingsControls {
  QWidget window;
  std::vector<std::unique_ptr<QCheckBox>> boxes;
  QLineEdit file;
  QComboBox decimals, unit, language, period;

  SettingsControls() {
    for (QComboBox* list : {&decimals, &unit, &language, &period}) {
      list->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    }
  }
  kvelt::app::ProgramSettingsPage::Controls Controls() {
    kvelt::app::ProgramSettingsPage::Controls controls{&window};
    for (std::size_t n = 0; n < controls.CheckBoxes.size(); ++n) {
      boxes.push_back(std::make_unique<QCheckBox>());
      controls.CheckBoxes[n] = boxes.back().get();
    }
    controls.File = &file;
    controls.Decimals = &decimals;
    controls.Unit = &unit;
    controls.Language = &language;
    controls.Period = &period;
    return controls;
  }
};

}  // namespace

class TestPages : public QObject {
  Q_OBJECT

 private slots:
  // Each check box is stored under a key no other box shares and is read back into itself: a
  // key used twice, or a read that walks the boxes in another order than the store, shows as a
  // second key set or another box ticked.
  void eachCheckBoxHasItsOwnKey_data() {
    QTest::addColumn<int>("box");
    for (std::size_t n = 0; n < kvelt::kCheckBoxSettingCount; ++n) {
      QTest::newRow(kvelt::CheckBoxSettings()[n].Control.data()) << static_cast<int>(n);
    }
  }
  void eachCheckBoxHasItsOwnKey() {
    QFETCH(int, box);
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("config.ini")).toStdString();
    SettingsControls controls;
    kvelt::app::ProgramSettingsPage page(controls.Controls(), [&path] { return kvelt::IniFile(path); });
    page.SetReady(true);
    for (std::size_t n = 0; n < controls.boxes.size(); ++n) {
      controls.boxes[n]->setChecked(static_cast<int>(n) == box);
    }
    page.StoreChange();

    const kvelt::IniSession stored{kvelt::IniFile(path)};
    const auto& table = kvelt::CheckBoxSettings();
    for (std::size_t n = 0; n < table.size(); ++n) {
      QCOMPARE(stored.ReadBool(kvelt::SettingsKeys::Section, table[n].Key, !table[n].Default),
               static_cast<int>(n) == box);
    }

    SettingsControls fresh;
    kvelt::app::ProgramSettingsPage reader(fresh.Controls(), [&path] { return kvelt::IniFile(path); });
    reader.Read(stored);
    for (std::size_t n = 0; n < fresh.boxes.size(); ++n) {
      QCOMPARE(fresh.boxes[n]->isChecked(), static_cast<int>(n) == box);
    }
  }

  // Before the start-up read has succeeded, a change of the user writes no file.
  void nothingIsStoredBeforeTheStartUpRead() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    SettingsControls controls;
    kvelt::app::ProgramSettingsPage page(controls.Controls(),
                                         [&path] { return kvelt::IniFile(path.toStdString()); });
    controls.boxes[0]->setChecked(true);
    page.StoreChange();
    QVERIFY(!QFile::exists(path));
  }

  // The window answers to its own and its class name, an object outside the widget tree to its
  // registration, a child to its name; an empty name finds nothing, though unnamed children
  // have one.
  void namedObjectsAreFoundByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");  // the object's role, empty for none
    QTest::newRow("window") << QStringLiteral("FMain") << QStringLiteral("window");
    QTest::newRow("class") << QStringLiteral("TFMain") << QStringLiteral("window");
    QTest::newRow("registered") << QStringLiteral("Series1") << QStringLiteral("outside");
    QTest::newRow("child") << QStringLiteral("edit_res0") << QStringLiteral("child");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("unknown") << QStringLiteral("edit_res9") << QString();
  }
  void namedObjectsAreFoundByName() {
    QFETCH(QString, name);
    QFETCH(QString, found);
    QWidget window;
    window.setObjectName(QStringLiteral("FMain"));
    new QWidget(&window);  // unnamed
    auto* child = new QLineEdit(&window);
    child->setObjectName(QStringLiteral("edit_res0"));
    QObject outside;
    outside.setObjectName(QStringLiteral("Series1"));
    kvelt::app::NamedObjectRegistry registry(window, QStringLiteral("TFMain"));
    registry.Register(&outside);
    const std::map<QString, QObject*> roles = {{QStringLiteral("window"), &window},
                                               {QStringLiteral("outside"), &outside},
                                               {QStringLiteral("child"), child}};
    QCOMPARE(registry.Find(name), found.isEmpty() ? nullptr : roles.at(found));
  }
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
