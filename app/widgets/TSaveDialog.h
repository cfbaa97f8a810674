#pragma once

#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

// A save-file dialog whose title, filter text and default extension are set the way the
// translation table writes them: Title, Filter ("description|*.ext|...") and DefaultExt ("*.csv").
// It keeps these settings itself and builds the file dialog only when it is first run, since a
// file dialog is costly to create and most runs of the program never open one.
//
// The file dialog starts with the filter of the default extension chosen, and a name typed
// without an extension gets the extension of the filter chosen when the dialog is accepted.
class TSaveDialog : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Title READ Title WRITE SetTitle)
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)

 public:
  // The file dialog, once built, is a child of `parent`.
  explicit TSaveDialog(QWidget* parent = nullptr);

  QString Title() const { return title_; }
  void SetTitle(const QString& title);

  QString Filter() const { return filter_; }
  void SetFilter(const QString& filter);

  QString DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const QString& extension);

  // What the file dialog is (or will be) set up with.
  QString windowTitle() const { return title_; }
  QStringList nameFilters() const { return nameFilters_; }
  QString defaultSuffix() const { return defaultSuffix_; }
  QFileDialog::AcceptMode acceptMode() const { return QFileDialog::AcceptSave; }
  bool testOption(QFileDialog::Option option) const { return options_.testFlag(option); }
  void setOption(QFileDialog::Option option, bool on = true);

  // The folder the file dialog opens in; empty: the dialog's own choice.
  QString Directory() const { return directory_; }
  void SetDirectory(const QString& folder);

  // The file dialog, built with the current settings on the first call.
  QFileDialog& Dialog();
  // The file dialog when it has been built, nothing before.
  QFileDialog* Built() const { return dialog_; }

 private:
  QWidget* parentWidget_;
  QPointer<QFileDialog> dialog_;
  QString title_;
  QString filter_;
  QString defaultExt_;
  QStringList nameFilters_;
  QString defaultSuffix_;
  QFileDialog::Options options_;
  QString directory_;
  // The name filter chosen in the file dialog (by position, kept across a change of language).
  qsizetype chosenFilter_ = -1;

  // Chooses filter `index` in the built dialog and takes its extension as the default suffix.
  void ChooseFilter(qsizetype index);
  // The position of the filter of the default extension; 0 when none has it.
  qsizetype DefaultFilterIndex() const;
};
