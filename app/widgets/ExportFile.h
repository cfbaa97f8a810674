#pragma once

#include <QByteArray>
#include <QString>

namespace kvelt::app {

// Writes an exported file whole: into a temporary file beside it, then renamed over it, so a
// failed write leaves no half file. Only a regular file (or none) is written over: a FIFO or a
// device at the path would block the window. Empty `bytes` (a picture that could not be made)
// count as a failure. Throws std::runtime_error naming the file when it
// cannot be written.
void WriteExportFile(const QString& path, const QByteArray& bytes);

}  // namespace kvelt::app
