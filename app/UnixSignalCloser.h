#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QSocketNotifier;

namespace kvelt::app {

// Turns SIGINT, SIGTERM and SIGHUP into a close of the window, as if the user had pressed its
// close button, so the close handler still stores its settings. The signal handler only writes
// one byte into a socket pair; the close itself runs on the main thread. Such a close never
// waits for a click: an open modal box is closed first, and an error of the close handler (a
// settings file that cannot be written) goes to the standard error stream, not into a box.
class UnixSignalCloser : public QObject {
  Q_OBJECT

 public:
  explicit UnixSignalCloser(QWidget* window);
  ~UnixSignalCloser() override;

  UnixSignalCloser(const UnixSignalCloser&) = delete;
  UnixSignalCloser& operator=(const UnixSignalCloser&) = delete;

 private:
  void OnSignal();

  QPointer<QWidget> window_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kvelt::app
