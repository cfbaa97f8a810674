#include "app/TSaveDialog.h"

#include "app/FileFilterText.h"

TSaveDialog::TSaveDialog(QWidget* parent) : QFileDialog(parent) {
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
}

void TSaveDialog::SetFilter(const QString& filter) {
  filter_ = filter;
  setNameFilters(kvelt::app::NameFiltersFromFilterText(filter));
}

void TSaveDialog::SetDefaultExt(const QString& extension) {
  defaultExt_ = extension;
  QString suffix = extension;
  if (suffix.startsWith(u"*.")) {
    suffix.remove(0, 2);
  } else if (suffix.startsWith(u'.')) {
    suffix.remove(0, 1);
  }
  setDefaultSuffix(suffix);
}
