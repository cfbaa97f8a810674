#pragma once

#include <QFileDialog>
#include <QString>

// A save-file dialog whose title, filter text and default extension are set the way the
// translation table writes them: Title, Filter ("description|*.ext|...") and DefaultExt ("*.csv").
class TSaveDialog : public QFileDialog {
  Q_OBJECT
  Q_PROPERTY(QString Title READ Title WRITE SetTitle)
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)

 public:
  explicit TSaveDialog(QWidget* parent = nullptr);

  QString Title() const { return windowTitle(); }
  void SetTitle(const QString& title) { setWindowTitle(title); }

  QString Filter() const { return filter_; }
  void SetFilter(const QString& filter);

  QString DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const QString& extension);

 private:
  QString filter_;
  QString defaultExt_;
};
