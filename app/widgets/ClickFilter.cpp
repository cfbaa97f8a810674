#include "app/widgets/ClickFilter.h"

#include <QMouseEvent>
#include <QWidget>
#include <utility>

ClickFilter::ClickFilter(QWidget* widget, std::function<void()> clicked)
    : QObject(widget), widget_(widget), clicked_(std::move(clicked)) {
  widget_->installEventFilter(this);
}

void ClickFilter::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled) {
    widget_->setCursor(Qt::PointingHandCursor);
  } else {
    widget_->unsetCursor();
  }
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget_ && enabled_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    clicked_();
    return true;
  }
  return QObject::eventFilter(watched, event);
}
