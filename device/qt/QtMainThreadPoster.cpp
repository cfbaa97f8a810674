#include "device/qt/QtMainThreadPoster.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace kvelt::hid {

namespace {

// One task on its way to the main thread.
class TaskEvent final : public QEvent {
 public:
  explicit TaskEvent(std::function<void()> task) : QEvent(Type()), task_(std::move(task)) {}

  static QEvent::Type Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }

  const std::function<void()>& Task() const { return task_; }

 private:
  std::function<void()> task_;
};

// Qt's event queue orders a posted event after everything its poster did before posting, but Qt
// is not built with ThreadSanitizer, so that order is invisible to it: say so here, at the one
// place where the device layer's threads hand work to the main thread. The event is made before
// the mark, so that its making is ordered too.
void MarkPosted([[maybe_unused]] const void* queue) {
#if defined(__SANITIZE_THREAD__)
  __tsan_release(const_cast<void*>(queue));
#endif
}

void MarkReceived([[maybe_unused]] const void* queue) {
#if defined(__SANITIZE_THREAD__)
  __tsan_acquire(const_cast<void*>(queue));
#endif
}

}  // namespace

QtMainThreadPoster::QtMainThreadPoster(TaskRunner runner, QObject* parent)
    : QObject(parent), runner_(std::move(runner)) {}

void QtMainThreadPoster::Post(std::function<void()> task) {
  auto* event = new TaskEvent(std::move(task));
  MarkPosted(this);
  QCoreApplication::postEvent(this, event);  // Qt owns the event from here
}

bool QtMainThreadPoster::event(QEvent* event) {
  MarkReceived(this);  // before the event's first byte is read
  if (event->type() != TaskEvent::Type()) {
    return QObject::event(event);
  }
  const auto& task = static_cast<const TaskEvent*>(event)->Task();
  if (runner_) {
    runner_(task);
  } else {
    task();
  }
  return true;
}

}  // namespace kvelt::hid
