#include "app/QtMainThreadPoster.h"

#include <QMetaObject>
#include <utility>

#include "app/HandlerGuard.h"

namespace kvelt::app {

QtMainThreadPoster::QtMainThreadPoster(QObject* parent) : QObject(parent) {}

void QtMainThreadPoster::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(
      this, [task = std::move(task)] { RunGuarded(task); }, Qt::QueuedConnection);
}

}  // namespace kvelt::app
