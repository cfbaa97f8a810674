#pragma once

#include <QObject>
#include <functional>

#include "device/MainThreadPoster.h"

namespace kvelt::app {

// Runs the device layer's tasks on the Qt main thread: Post() (any thread) queues the task as
// a call on this object, which the event loop runs in posting order. A task that throws is
// shown in the central error box and the loop goes on. Tasks still queued when the poster is
// destroyed are dropped.
class QtMainThreadPoster final : public QObject, public kvelt::hid::MainThreadPoster {
  Q_OBJECT

 public:
  explicit QtMainThreadPoster(QObject* parent = nullptr);

  void Post(std::function<void()> task) override;
};

}  // namespace kvelt::app
