#include "device/qt/QtMainThreadPoster.h"

#include <QMetaObject>
#include <utility>

namespace kvelt::hid {

QtMainThreadPoster::QtMainThreadPoster(TaskRunner runner, QObject* parent)
    : QObject(parent), runner_(std::move(runner)) {}

void QtMainThreadPoster::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(
      this,
      [this, task = std::move(task)] {
        if (runner_) {
          runner_(task);
        } else {
          task();
        }
      },
      Qt::QueuedConnection);
}

}  // namespace kvelt::hid
