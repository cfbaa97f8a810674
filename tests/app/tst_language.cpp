// Switching between Polish and English: every row of the translation table, selections kept,
// the picker's handler.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QLineSeries>
#include <QtTest>
#include <optional>

#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "i18n/CommaText.h"
#include "i18n/ELanguageError.h"
#include "i18n/qt/TLangCombo.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::TStringsType;
using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QStringList ItemsOf(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) {
    items << combo->itemText(i);
  }
  return items;
}

QStringList ParsedItems(const std::string& commaText) {
  QStringList items;
  for (const std::string& item : kvelt::ParseCommaText(commaText)) {
    items << Utf8(item);
  }
  return items;
}

// What the window shows for a table row, read back independently of the code that applies it;
// nullopt for rows that address nothing the window shows (and for Text rows, which the window
// does not take from the table).
std::optional<QStringList> Shown(TFMain& window, TStringsType section, const std::string& key) {
  const QString fullKey = Utf8(key);
  const QString name = fullKey.section(u'.', 0, 0);
  const QString property = fullKey.section(u'.', 1);
  QObject* object = window.FindNamedObject(name);
  if (object == nullptr) {
    return std::nullopt;
  }
  switch (section) {
    case TStringsType::stCaptions: {
      auto* widget = qobject_cast<QWidget*>(object);
      if (widget == &window) {
        return QStringList{window.windowTitle()};
      }
      if (const int page = Ui(window).PageControl1->indexOf(widget); page >= 0) {
        return QStringList{Ui(window).PageControl1->tabText(page)};
      }
      if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        return QStringList{button->text()};
      }
      if (auto* label = qobject_cast<QLabel*>(object)) {
        return QStringList{label->text()};
      }
      if (auto* group = qobject_cast<QGroupBox*>(object)) {
        return QStringList{group->title()};
      }
      return std::nullopt;
    }
    case TStringsType::stHints:
      if (auto* widget = qobject_cast<QWidget*>(object)) {
        return QStringList{widget->toolTip()};
      }
      return std::nullopt;
    case TStringsType::stFonts:
      if (auto* widget = qobject_cast<QWidget*>(object);
          widget != nullptr && widget->testAttribute(Qt::WA_SetFont)) {
        return QStringList{widget->font().family()};
      }
      return std::nullopt;
    case TStringsType::stMultiLines:
      if (auto* combo = qobject_cast<QComboBox*>(object);
          combo != nullptr && property == QStringLiteral("Items")) {
        return ItemsOf(combo);
      }
      return std::nullopt;
    case TStringsType::stOtherStrings:
      if (property == QStringLiteral("Title")) {
        if (auto* series = qobject_cast<QAbstractSeries*>(object)) {
          return QStringList{series->name()};
        }
        if (auto* dialog = qobject_cast<TSaveDialog*>(object)) {
          return QStringList{dialog->windowTitle()};
        }
      }
      if (auto* dialog = qobject_cast<TSaveDialog*>(object);
          dialog != nullptr && property == QStringLiteral("Filter")) {
        return QStringList{dialog->Filter()};
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

QStringList Expected(TStringsType section, const std::string& text) {
  return section == TStringsType::stMultiLines ? ParsedItems(text) : QStringList{Utf8(text)};
}

struct Selections {
  QList<int> Indexes;
  QList<bool> Checks;
  QString File;
  bool operator==(const Selections&) const = default;
};

Selections SelectionsOf(TFMain& window) {
  Selections selections;
  for (QComboBox* combo : window.centralWidget()->findChildren<QComboBox*>()) {
    selections.Indexes << combo->currentIndex();
  }
  selections.Indexes << Ui(window).LangCombo1->currentIndex();
  for (QCheckBox* box : window.centralWidget()->findChildren<QCheckBox*>()) {
    selections.Checks << box->isChecked();
  }
  selections.File = Ui(window).save_file->text();
  return selections;
}

// Captions that show a state (speed unit, recording) and so follow that state, not the table.
bool ShowsAState(const std::string& key) {
  return key == "BoxPos" || key == "BoxPred" || key == "GroupBox1" || key == "SaveButton" ||
         key == "PlayButton";
}

constexpr TStringsType kAppliedSections[] = {TStringsType::stCaptions, TStringsType::stHints,
                                             TStringsType::stFonts, TStringsType::stMultiLines,
                                             TStringsType::stOtherStrings};

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void englishAndBackRestoresEveryRow() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Ui(window).UnitList->setCurrentIndex(2);
    Ui(window).OutputRows[1].S->setCurrentIndex(1);
    Ui(window).save_file->setText(QStringLiteral("/tmp/run 7.csv"));
    const Selections before = SelectionsOf(window);
    const kvelt::TranslationTable& table = window.Lang().Table();

    window.ActivateLanguage(2);
    int checked = 0;
    for (const TStringsType section : kAppliedSections) {
      for (const kvelt::TranslationRow& row : table.Rows(section)) {
        const auto shown = Shown(window, section, row.Key);
        if (!shown || ShowsAState(row.Key)) {
          continue;
        }
        ++checked;
        const std::string& text = row.Texts[1].empty() ? row.Texts[0] : row.Texts[1];
        QVERIFY2(*shown == Expected(section, text), row.Key.c_str());
      }
    }
    // 55 captions (and the 5 that show a state), the 26 picture buttons' hints, 9 fonts (the
    // status bar follows the window's font), 34 lists, 13 series and the title and filter of the
    // three dialogs.
    QCOMPARE(checked, 55 + 26 + 9 + 34 + 13 + 6);
    QCOMPARE(SelectionsOf(window), before);

    window.ActivateLanguage(1);
    for (const TStringsType section : kAppliedSections) {
      for (const kvelt::TranslationRow& row : table.Rows(section)) {
        if (const auto shown = Shown(window, section, row.Key); shown && !ShowsAState(row.Key)) {
          QVERIFY2(*shown == Expected(section, row.Texts[0]), row.Key.c_str());
        }
      }
    }
    QCOMPARE(SelectionsOf(window), before);
  }

  void englishTextsWhereUsersSeeThem() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    Ui(window).UnitList->setCurrentIndex(2);
    window.ActivateLanguage(2);
    QCOMPARE(window.windowTitle(), QStringLiteral("KVELT - PC"));
    QCOMPARE(Ui(window).PageControl1->tabText(0), QStringLiteral("Values"));
    QCOMPARE(Ui(window).UnitList->currentIndex(), 2);
    QCOMPARE(Ui(window).UnitList->itemText(0), QStringLiteral("[rev/s]"));
    QCOMPARE(Ui(window).OutputRows[0].S->itemText(0), QStringLiteral("Inactive"));
    QCOMPARE(Ui(window).OutputRows[0].T->itemText(1), QStringLiteral("[and]"));
    QCOMPARE(Ui(window).SaveDialog->nameFilters(),
             (QStringList{QStringLiteral("Text file (*.txt)"), QStringLiteral("CSV file (*.csv)")}));
    QCOMPARE(Ui(window).SaveDialog->windowTitle(), QStringLiteral("Data file"));
    QCOMPARE(Ui(window).Series[6]->name(), QStringLiteral("Velocity [3]"));
    QCOMPARE(Ui(window).save_file->text(), QDir::homePath() + QStringLiteral("/pomiar.csv"));
    QCOMPARE(Ui(window).StatusBar->font().family(), window.font().family());
    QCOMPARE(window.LangText("IDS_1"), QStringLiteral("Connected"));
    QCOMPARE(window.Control<QLabel>("Label5")->text(), QStringLiteral("Record every:"));
    QCOMPARE(window.Control<QLabel>("Label4")->text(), QStringLiteral("Data file"));
    QCOMPARE(Ui(window).button_get_zero[2]->toolTip(),
             QStringLiteral("Read the zero marker from the counter"));
    Ui(window).InfoButtons[0]->click();
    Ui(window).BitBtn7->click();
    QCOMPARE(fixture.Boxes().size(), std::size_t{2});
    QCOMPARE(fixture.Boxes()[0].Title, QStringLiteral("Encoder 1"));
    QVERIFY(fixture.Boxes()[1].Text.contains(QStringLiteral("\nversion:\n")));
  }

  void pickerActivatesTheLanguageAndTranslatesBothPanels() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    window.ShowStatusMessage(0, "IDS_146");
    window.ShowStatusMessage(1, "IDS_1");
    Ui(window).LangCombo1->setCurrentIndex(1);
    emit Ui(window).LangCombo1->activated(1);
    QCOMPARE(window.Lang().ActiveLanguage(), 2);
    QCOMPARE(Ui(window).BitBtn7->text(), QStringLiteral("About..."));
    QCOMPARE(window.StatusPanelText(0), QStringLiteral("Record measurements to the file was stopped"));
    QCOMPARE(window.StatusPanelText(1), QStringLiteral("Connected"));
    // A text of no message key stays as it was; picking the active language again changes nothing.
    window.SetStatusPanelText(0, QStringLiteral("again"));
    emit Ui(window).LangCombo1->activated(1);
    QCOMPARE(window.StatusPanelText(0), QStringLiteral("again"));
    Ui(window).LangCombo1->setCurrentIndex(0);
    emit Ui(window).LangCombo1->activated(0);
    QCOMPARE(window.StatusPanelText(0), QStringLiteral("again"));
    QCOMPARE(window.StatusPanelText(1), QString::fromUtf8("Połączony"));
    QVERIFY(fixture.Boxes().empty());
  }

  void runTimeCaptionsFollowTheStateNotTheTable() {
    WindowFixture fixture({"[Options]", "AutoSave=1", "Language=0"});
    TFMain& window = fixture.Window();
    QCOMPARE(Ui(window).SaveButton->text(), QString::fromUtf8("Zatrzymaj rejestrację danych"));
    window.ActivateLanguage(2);
    window.ActivateLanguage(1);
    QCOMPARE(Ui(window).SaveButton->text(), QString::fromUtf8("Zatrzymaj rejestrację danych"));
    QVERIFY(window.RecordingLogic().Recording());
  }

  void languageOutsideTheListIsRefused() {
    WindowFixture fixture;
    TFMain& window = fixture.Window();
    const QString caption = Ui(window).BitBtn7->text();
    for (const int n : {0, 3}) {
      try {
        window.ActivateLanguage(n);
        QFAIL("no error");
      } catch (const kvelt::ELanguageError& error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("TFMain: %1 - is not a valid property value!\rValue must be within [1..2]!")
                     .arg(n));
      }
    }
    QCOMPARE(window.Lang().ActiveLanguage(), 1);
    QCOMPARE(Ui(window).BitBtn7->text(), caption);
  }
};

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
