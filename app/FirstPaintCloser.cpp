#include "app/FirstPaintCloser.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

namespace kvelt::app {

FirstPaintCloser::FirstPaintCloser(QWidget* window) : QObject(window), window_(window) {
  window_->installEventFilter(this);
}

bool FirstPaintCloser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Paint && !painted_) {
    painted_ = true;
    window_->removeEventFilter(this);
    // Queued: the paint pass (the window's children and the flush to the screen) finishes first.
    QMetaObject::invokeMethod(window_, &QWidget::close, Qt::QueuedConnection);
  }
  return false;
}

}  // namespace kvelt::app
