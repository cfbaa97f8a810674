#pragma once

#include <QString>

namespace kvelt::app {

// The text shown for an error that escaped a handler: its message, with a full stop appended when
// the last character sorts after "." (so "Disk full" gets one, "Done." and "(1)" do not). An empty
// message stays empty.
QString ComposeErrorText(const QString& message);

}  // namespace kvelt::app
