// Qt's own texts follow the window's language: Polish dialog buttons and edit box menus in
// Polish, Qt's English ones in English, switched at run time.

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "i18n/qt/QtOwnTranslation.h"
#include "i18n/qt/TLangCombo.h"
#include "tests/app/support/WindowControls.h"
#include "tests/app/support/WindowFixture.h"

using kvelt::apptest::Ui;
using kvelt::apptest::WindowFixture;

namespace {

QString SaveButtonText() {
  QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
  return box.button(QDialogButtonBox::Save)
      ->text()
      .remove(u'&');  // the mnemonic depends on the platform theme
}

QStringList ContextMenuTexts() {
  QLineEdit edit;
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) {
      texts << action->text();
    }
  }
  return texts;
}

void Choose(TFMain& window, int index) {
  Ui(window).LangCombo1->setCurrentIndex(index);
  window.LangCombo1Change(Ui(window).LangCombo1);
}

}  // namespace

class QtTranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void qtTextsFollowTheLanguage() {
    QVERIFY2(QFile::exists(kvelt::QtOwnTranslation::TranslationsPath() + QStringLiteral("/qtbase_pl.qm")),
             "Qt's Polish translation (package qt6-translations-l10n) is not installed");
    const QString englishSave = SaveButtonText();
    const QStringList englishMenu = ContextMenuTexts();
    QCOMPARE(englishSave, QStringLiteral("Save"));
    {
      WindowFixture fixture;  // a fresh file: Polish
      TFMain& window = fixture.Window();
      QCOMPARE(SaveButtonText(), QStringLiteral("Zachowaj"));
      const QStringList polishMenu = ContextMenuTexts();
      QCOMPARE(polishMenu.size(), englishMenu.size());
      QVERIFY2(!polishMenu.filter(QStringLiteral("&Cofnij")).isEmpty(), qPrintable(polishMenu.join(u'|')));
      QVERIFY(polishMenu != englishMenu);
      Choose(window, 1);
      QCOMPARE(SaveButtonText(), englishSave);
      QCOMPARE(ContextMenuTexts(), englishMenu);
      Choose(window, 0);
      QCOMPARE(SaveButtonText(), QStringLiteral("Zachowaj"));
      QCOMPARE(ContextMenuTexts(), polishMenu);
    }
    {
      WindowFixture fixture({QStringLiteral("[Options]"), QStringLiteral("Language=1")});  // English stored
      QCOMPARE(SaveButtonText(), englishSave);
    }
  }
};

QTEST_MAIN(QtTranslationTest)
#include "tst_qt_translation.moc"
