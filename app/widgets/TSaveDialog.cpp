#include "app/widgets/TSaveDialog.h"

#include <QRegularExpression>

#include "app/widgets/FileFilterText.h"

namespace {

// The extension of a name filter's first pattern: "txt" for "Text file (*.txt)"; empty for none.
QString FilterSuffix(const QString& nameFilter) {
  static const QRegularExpression pattern(QStringLiteral(R"(\*\.([^\s;*?)]+))"));
  const QRegularExpressionMatch match = pattern.match(nameFilter);
  return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

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
    ChooseFilter(chosenFilter_ >= 0 && chosenFilter_ < nameFilters_.size() ? chosenFilter_
                                                                           : DefaultFilterIndex());
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
  // Until the user picks a filter, the default extension's filter is the chosen one.
  if (chosenFilter_ < 0) {
    ChooseFilter(DefaultFilterIndex());
  }
}

void TSaveDialog::SetDirectory(const QString& folder) {
  directory_ = folder;
  if (dialog_ != nullptr && !folder.isEmpty()) {
    dialog_->setDirectory(folder);
  }
}

qsizetype TSaveDialog::DefaultFilterIndex() const {
  for (qsizetype i = 0; i < nameFilters_.size(); ++i) {
    if (!defaultSuffix_.isEmpty() &&
        FilterSuffix(nameFilters_[i]).compare(defaultSuffix_, Qt::CaseInsensitive) == 0) {
      return i;
    }
  }
  return 0;
}

void TSaveDialog::ChooseFilter(qsizetype index) {
  if (dialog_ == nullptr || index < 0 || index >= nameFilters_.size()) {
    return;
  }
  dialog_->selectNameFilter(nameFilters_[index]);
  const QString suffix = FilterSuffix(nameFilters_[index]);
  dialog_->setDefaultSuffix(suffix.isEmpty() ? defaultSuffix_ : suffix);
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
    ChooseFilter(DefaultFilterIndex());
    // The user's choice of filter sets the extension a bare name gets.
    connect(dialog_, &QFileDialog::filterSelected, this, [this](const QString& filter) {
      chosenFilter_ = nameFilters_.indexOf(filter);
      const QString suffix = FilterSuffix(filter);
      dialog_->setDefaultSuffix(suffix.isEmpty() ? defaultSuffix_ : suffix);
    });
  }
  if (!directory_.isEmpty()) {
    dialog_->setDirectory(directory_);
  }
  return *dialog_;
}
