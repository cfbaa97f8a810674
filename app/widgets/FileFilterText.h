#pragma once

#include <QString>
#include <QStringList>

namespace kvelt::app {

// Converts a save-dialog filter in the "description|patterns|description|patterns" form (patterns
// separated by ';') into Qt name filters "description (patterns)". A description that already
// ends with its patterns in parentheses is kept as it is; a trailing description without
// patterns is dropped.
QStringList NameFiltersFromFilterText(const QString& filterText);

}  // namespace kvelt::app
