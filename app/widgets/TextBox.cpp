#include "app/widgets/TextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TextBox::TextBox(const QString& title, const QString& text, const QString& copyCaption,
                 const QString& closeCaption, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(text)), copy_(new QPushButton(copyCaption)) {
  setObjectName(QStringLiteral("TextBox"));
  setWindowTitle(title);
  text_->setObjectName(QStringLiteral("TextBoxText"));
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_->setMinimumSize(680, 150);
  copy_->setObjectName(QStringLiteral("TextBoxCopy"));
  auto* close = new QPushButton(closeCaption);
  close->setDefault(true);
  connect(copy_, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(text_->toPlainText()); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(copy_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addLayout(buttons);
}

QString TextBox::Text() const { return text_->toPlainText(); }
