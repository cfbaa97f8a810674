#include "i18n/qt/LanguageApplier.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaProperty>
#include <QTabWidget>
#include <QtCharts/QAbstractSeries>
#include <utility>

#include "i18n/CommaText.h"

namespace kvelt {
namespace {

// "name.Property" -> ("name", "Property"); a key without a dot has an empty property.
std::pair<QString, QString> SplitKey(const std::string& key) {
  const QString text = QString::fromStdString(key);
  const qsizetype dot = text.indexOf(u'.');
  if (dot < 0) {
    return {text, QString()};
  }
  return {text.left(dot), text.mid(dot + 1)};
}

bool SameName(const QString& a, const char* b) {
  return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QTabWidget* OwningTabWidget(QWidget* page) {
  for (QWidget* parent = page->parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
    if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
      return tabs->indexOf(page) >= 0 ? tabs : nullptr;
    }
  }
  return nullptr;
}

QStringList ItemsOf(const QObject* object) {
  QStringList items;
  if (const auto* combo = qobject_cast<const QComboBox*>(object)) {
    for (int i = 0; i < combo->count(); ++i) {
      items << combo->itemText(i);
    }
  } else if (const auto* list = qobject_cast<const QListWidget*>(object)) {
    for (int i = 0; i < list->count(); ++i) {
      items << list->item(i)->text();
    }
  }
  return items;
}

void ReplaceComboItems(QComboBox* combo, const QStringList& items) {
  const int selected = combo->currentIndex();
  combo->setUpdatesEnabled(false);
  const int common = std::min<int>(combo->count(), static_cast<int>(items.size()));
  for (int i = 0; i < common; ++i) {
    combo->setItemText(i, items[i]);
  }
  while (combo->count() > items.size()) {
    combo->removeItem(combo->count() - 1);
  }
  for (qsizetype i = common; i < items.size(); ++i) {
    combo->addItem(items[i]);
  }
  combo->setCurrentIndex(selected < combo->count() ? selected : -1);
  combo->setUpdatesEnabled(true);
}

void ReplaceListItems(QListWidget* list, const QStringList& items) {
  const int selected = list->currentRow();
  list->setUpdatesEnabled(false);
  list->clear();
  list->addItems(items);
  list->setCurrentRow(selected < list->count() ? selected : -1);
  list->setUpdatesEnabled(true);
}

// A string property the object declares (Qt's own or a Q_PROPERTY), matched ignoring case.
bool SetDeclaredStringProperty(QObject* object, const QString& name, const QString& text) {
  const QMetaObject* meta = object->metaObject();
  for (int i = 0; i < meta->propertyCount(); ++i) {
    const QMetaProperty property = meta->property(i);
    if (!SameName(name, property.name()) || !property.isReadable() || !property.isWritable() ||
        property.metaType() != QMetaType::fromType<QString>()) {
      continue;
    }
    if (property.read(object).toString() != text) {
      property.write(object, text);
    }
    return true;
  }
  return false;
}

}  // namespace

LanguageApplier::LanguageApplier(QWidget* window, QString windowClassName, ObjectResolver resolver,
                                 QStringList editsKeepingText)
    : window_(window),
      windowClassName_(std::move(windowClassName)),
      resolver_(std::move(resolver)),
      editsKeepingText_(std::move(editsKeepingText)) {}

void LanguageApplier::Apply(const TLangTable& lang) const {
  ApplyWindowRows(lang, TStringsType::stCaptions, &LanguageApplier::ApplyCaption);
  ApplyWindowRows(lang, TStringsType::stHints, &LanguageApplier::ApplyHint);
  ApplySection(lang, TStringsType::stCaptions, &LanguageApplier::ApplyCaption);
  ApplySection(lang, TStringsType::stHints, &LanguageApplier::ApplyHint);
  ApplySection(lang, TStringsType::stDisplayLabels, &LanguageApplier::ApplyDisplayLabel);
  ApplySection(lang, TStringsType::stFonts, &LanguageApplier::ApplyFont);
  ApplyWindowRows(lang, TStringsType::stFonts, &LanguageApplier::ApplyFont);
  ApplySection(lang, TStringsType::stMultiLines, &LanguageApplier::ApplyItems);
  ApplySection(lang, TStringsType::stOtherStrings, &LanguageApplier::ApplyProperty);
  // stLocales stays unapplied: the program does not change locales with the language.
  ApplySection(lang, TStringsType::stCollections, &LanguageApplier::ApplyProperty);
}

void LanguageApplier::ApplySection(const TLangTable& lang, TStringsType section, RowAction action) const {
  for (const TranslationRow& row : lang.Table().Rows(section)) {
    ApplyRow(lang, row, action);
  }
}

void LanguageApplier::ApplyWindowRows(const TLangTable& lang, TStringsType section, RowAction action) const {
  for (const TranslationRow& row : lang.Table().Rows(section)) {
    if (AddressesWindow(row)) {
      ApplyRow(lang, row, action);
    }
  }
}

void LanguageApplier::ApplyRow(const TLangTable& lang, const TranslationRow& row, RowAction action) const {
  const std::string& text = lang.TextFor(row);
  if (text.empty()) {
    return;
  }
  try {
    (this->*action)(row, QString::fromStdString(text));
  } catch (...) {
    // One row that cannot be applied does not keep the others from being applied.
  }
}

bool LanguageApplier::AddressesWindow(const TranslationRow& row) const {
  const QString key = SplitKey(row.Key).first;
  return key.compare(windowClassName_, Qt::CaseInsensitive) == 0 ||
         key.compare(window_->objectName(), Qt::CaseInsensitive) == 0;
}

QObject* LanguageApplier::Find(const QString& key) const {
  if (key.compare(windowClassName_, Qt::CaseInsensitive) == 0 ||
      key.compare(window_->objectName(), Qt::CaseInsensitive) == 0) {
    return window_;
  }
  return resolver_(key);
}

void LanguageApplier::ApplyCaption(const TranslationRow& row, const QString& text) const {
  QObject* object = Find(SplitKey(row.Key).first);
  if (object == nullptr) {
    return;
  }
  if (auto* widget = qobject_cast<QWidget*>(object); widget != nullptr && widget->isWindow()) {
    if (widget->windowTitle() != text) {
      widget->setWindowTitle(text);
    }
  } else if (QTabWidget* tabs = widget != nullptr ? OwningTabWidget(widget) : nullptr) {
    const int index = tabs->indexOf(widget);
    if (tabs->tabText(index) != text) {
      tabs->setTabText(index, text);
    }
  } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
    if (button->text() != text) {
      button->setText(text);
    }
  } else if (auto* label = qobject_cast<QLabel*>(object)) {
    if (label->text() != text) {
      label->setText(text);
    }
  } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
    if (group->title() != text) {
      group->setTitle(text);
    }
  }
}

void LanguageApplier::ApplyHint(const TranslationRow& row, const QString& text) const {
  if (auto* widget = qobject_cast<QWidget*>(Find(SplitKey(row.Key).first))) {
    if (widget->toolTip() != text) {
      widget->setToolTip(text);
    }
  }
}

void LanguageApplier::ApplyDisplayLabel(const TranslationRow& row, const QString& text) const {
  // Only objects that declare a DisplayLabel property have one.
  if (QObject* object = Find(SplitKey(row.Key).first)) {
    SetDeclaredStringProperty(object, QStringLiteral("DisplayLabel"), text);
  }
}

void LanguageApplier::ApplyFont(const TranslationRow& row, const QString& text) const {
  auto* widget = qobject_cast<QWidget*>(Find(SplitKey(row.Key).first));
  // A widget without a font of its own follows its parent's font and is left alone. The
  // character set rows have no counterpart in Qt, whose fonts cover every script.
  if (widget == nullptr || !widget->testAttribute(Qt::WA_SetFont) || widget->font().family() == text) {
    return;
  }
  QFont font = widget->font();
  font.setFamily(text);
  widget->setFont(font);
}

void LanguageApplier::ApplyItems(const TranslationRow& row, const QString& text) const {
  const auto [name, property] = SplitKey(row.Key);
  if (!SameName(property, "Items")) {
    if (QObject* object = Find(name)) {
      SetDeclaredStringProperty(object, property, text);
    }
    return;
  }
  QObject* object = Find(name);
  if (object == nullptr) {
    return;
  }
  QStringList items;
  for (const std::string& item : ParseCommaText(text.toStdString())) {
    items << QString::fromStdString(item);
  }
  if (items == ItemsOf(object)) {
    return;
  }
  if (auto* combo = qobject_cast<QComboBox*>(object)) {
    ReplaceComboItems(combo, items);
  } else if (auto* list = qobject_cast<QListWidget*>(object)) {
    ReplaceListItems(list, items);
  }
}

void LanguageApplier::ApplyProperty(const TranslationRow& row, const QString& text) const {
  const auto [name, property] = SplitKey(row.Key);
  QObject* object = Find(name);
  if (object == nullptr || property.isEmpty()) {
    return;
  }
  if (SameName(property, "Text")) {
    if (auto* combo = qobject_cast<QComboBox*>(object); combo != nullptr && !combo->isEditable()) {
      return;  // a pick-only list shows its selected item
    }
    if (auto* edit = qobject_cast<QLineEdit*>(object)) {
      if (!editsKeepingText_.contains(edit->objectName()) && edit->text() != text) {
        edit->setText(text);
      }
      return;
    }
  }
  if (SameName(property, "Title")) {
    if (auto* series = qobject_cast<QAbstractSeries*>(object)) {
      if (series->name() != text) {
        series->setName(text);
      }
      return;
    }
  }
  SetDeclaredStringProperty(object, property, text);
}

}  // namespace kvelt
