#include "i18n/qt/QtOwnTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kvelt {
namespace {

constexpr int kPolish = 1;
const QString kTranslatorName = QStringLiteral("kvelt-qt-own-translation");

QTranslator* InstalledTranslator(QCoreApplication& application) {
  return application.findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly);
}

}  // namespace

QString QtOwnTranslation::TranslationsPath() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool QtOwnTranslation::Activate(int language) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) {
    return false;
  }
  QTranslator* previous = InstalledTranslator(*application);
  if (previous != nullptr && language == kPolish) {
    return true;  // already installed
  }
  if (previous != nullptr) {
    QCoreApplication::removeTranslator(previous);
    delete previous;
  }
  if (language != kPolish) {
    return true;
  }
  auto* translator = new QTranslator(application);
  translator->setObjectName(kTranslatorName);
  if (!translator->load(QStringLiteral("qtbase_pl"), TranslationsPath())) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace kvelt
