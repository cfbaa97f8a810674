#include "app/widgets/FileFilterText.h"

namespace kvelt::app {

QStringList NameFiltersFromFilterText(const QString& filterText) {
  QStringList filters;
  if (filterText.isEmpty()) {
    return filters;
  }
  const QStringList parts = filterText.split(u'|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
    }
    const QString patternText = patterns.join(u' ');
    const QString suffix = u'(' + patternText + u')';
    if (description.endsWith(suffix)) {
      filters << description;
    } else if (description.isEmpty()) {
      filters << suffix;
    } else {
      filters << description + u' ' + suffix;
    }
  }
  return filters;
}

}  // namespace kvelt::app
