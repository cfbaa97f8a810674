#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "i18n/TLangTable.h"
#include "i18n/TranslationTable.h"

namespace kvelt {

// Applies the control rows of the translation table, in the active language, to the window's
// objects found by name:
//  - captions: button, check box and label text, group box title, tab text of a notebook page,
//    window title; hints: tool tips;
//  - fonts: the font family of a control with a font of its own (one that follows its parent's
//    font is left alone); the window's own font once more after all font rows;
//  - item lists ("name.Items"): the items of a drop-down or list, replaced only when they differ,
//    the selected index kept;
//  - other properties ("name.Property"): a series' Title (its name), a dialog's Title and Filter,
//    a Text row of an edit box, any string property the object declares under that name. A Text
//    row of a pick-only drop-down changes nothing, and edit boxes listed as keeping their text
//    (the recording file name) are not touched.
// An empty text leaves the property as it is; a row naming a missing object or property is
// skipped; a row whose setting fails is skipped alone.
class LanguageApplier {
 public:
  using ObjectResolver = std::function<QObject*(const QString& name)>;

  LanguageApplier(QWidget* window, QString windowClassName, ObjectResolver resolver,
                  QStringList editsKeepingText);

  void Apply(const TLangTable& lang) const;

 private:
  using RowAction = void (LanguageApplier::*)(const TranslationRow&, const QString&) const;

  void ApplySection(const TLangTable& lang, TStringsType section, RowAction action) const;
  void ApplyWindowRows(const TLangTable& lang, TStringsType section, RowAction action) const;
  void ApplyRow(const TLangTable& lang, const TranslationRow& row, RowAction action) const;
  bool AddressesWindow(const TranslationRow& row) const;
  QObject* Find(const QString& key) const;

  void ApplyCaption(const TranslationRow& row, const QString& text) const;
  void ApplyHint(const TranslationRow& row, const QString& text) const;
  void ApplyDisplayLabel(const TranslationRow& row, const QString& text) const;
  void ApplyFont(const TranslationRow& row, const QString& text) const;
  void ApplyItems(const TranslationRow& row, const QString& text) const;
  void ApplyProperty(const TranslationRow& row, const QString& text) const;

  QWidget* window_;
  QString windowClassName_;
  ObjectResolver resolver_;
  QStringList editsKeepingText_;
};

}  // namespace kvelt
