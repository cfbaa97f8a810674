#include "app/widgets/TSaveDialog.h"

#include "app/widgets/FileFilterText.h"

TSaveDialog::TSaveDialog(QWidget* parent) : QObject(parent), parentWidget_(parent) {}

void TSaveDialog::SetTitle(const QString& title) {
  title_ = title;
  if (dialog_ != nullptr) {
    dialog_->setWindowTitle(title_);
  }
}

void TSaveDialog::SetFilter(const QString& filter) {
  filter_ = filter;
  nameFilters_ = kvelt::app::NameFiltersFromFilterText(filter);
  if (dialog_ != nullptr) {
    dialog_->setNameFilters(nameFilters_);
  }
}

void TSaveDialog::SetDefaultExt(const QString& extension) {
  defaultExt_ = extension;
  QString suffix = extension;
  if (suffix.startsWith(u"*.")) {
    suffix.remove(0, 2);
  } else if (suffix.startsWith(u'.')) {
    suffix.remove(0, 1);
  }
  defaultSuffix_ = suffix;
  if (dialog_ != nullptr) {
    dialog_->setDefaultSuffix(defaultSuffix_);
  }
}

void TSaveDialog::setOption(QFileDialog::Option option, bool on) {
  options_.setFlag(option, on);
  if (dialog_ != nullptr) {
    dialog_->setOption(option, on);
  }
}

QFileDialog& TSaveDialog::Dialog() {
  if (dialog_ == nullptr) {
    dialog_ = new QFileDialog(parentWidget_);
    dialog_->setObjectName(objectName() + QStringLiteral("Window"));
    dialog_->setAcceptMode(QFileDialog::AcceptSave);
    dialog_->setFileMode(QFileDialog::AnyFile);
    dialog_->setOptions(options_);
    dialog_->setWindowTitle(title_);
    dialog_->setNameFilters(nameFilters_);
    dialog_->setDefaultSuffix(defaultSuffix_);
  }
  return *dialog_;
}
