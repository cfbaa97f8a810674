#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

// A modal box with a long text the user can read whole, select and copy (the copy button puts
// all of it on the clipboard), e.g. the commands that give the program access to the counter.
class TextBox : public QDialog {
  Q_OBJECT

 public:
  TextBox(const QString& title, const QString& text, const QString& copyCaption, const QString& closeCaption,
          QWidget* parent = nullptr);

  QString Text() const;
  QPushButton* CopyButton() const { return copy_; }

 private:
  QPlainTextEdit* text_;
  QPushButton* copy_;
};
