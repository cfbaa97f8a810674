#include "app/widgets/ExportFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <stdexcept>

namespace kvelt::app {

void WriteExportFile(const QString& path, const QByteArray& bytes) {
  const auto fail = [&path] {
    throw std::runtime_error("Cannot create file \"" + path.toStdString() + "\"");
  };
  const QFileInfo target(path);
  if (path.isEmpty() || bytes.isEmpty() || (target.exists() && !target.isFile())) {
    fail();
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    fail();
  }
}

}  // namespace kvelt::app
