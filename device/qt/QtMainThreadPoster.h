#pragma once

#include <QObject>
#include <functional>

#include "device/MainThreadPoster.h"

namespace kvelt::hid {

// Runs the device layer's tasks on the Qt main thread: Post() (any thread) queues the task as an
// event for this object, which the event loop runs in posting order. Each task runs through the
// runner given at construction, which decides what an exception escaping a task becomes (the
// window shows it in its error box, the command line prints it); without one, tasks run as they
// are. Tasks still queued when the poster is destroyed are dropped.
class QtMainThreadPoster final : public QObject, public MainThreadPoster {
  Q_OBJECT

 public:
  using TaskRunner = std::function<void(const std::function<void()>& task)>;

  explicit QtMainThreadPoster(TaskRunner runner = {}, QObject* parent = nullptr);

  void Post(std::function<void()> task) override;

 protected:
  bool event(QEvent* event) override;

 private:
  TaskRunner runner_;
};

}  // namespace kvelt::hid
