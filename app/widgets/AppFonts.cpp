#include "app/widgets/AppFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace kvelt::app {
namespace {

const QString kFamily = QStringLiteral("Tahoma");

bool HasFamily(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

QFont Tahoma(int pixelSize) {
  QFont font(kFamily);
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

void AppFonts::EnsureTahoma() {
  if (HasFamily(kFamily)) {
    return;
  }
  const QStringList candidates = {
      QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
      QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"),
  };
  for (const QString& path : candidates) {
    if (QFile::exists(path)) {
      QFontDatabase::addApplicationFont(path);
    }
  }
}

QFont AppFonts::WindowFont() { return Tahoma(11); }

QFont AppFonts::ReadoutFont() { return Tahoma(24); }

}  // namespace kvelt::app
