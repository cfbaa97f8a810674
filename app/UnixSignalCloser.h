#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

namespace kvelt::hid {
class TerminationSignals;
}

namespace kvelt::app {

// Turns SIGINT, SIGTERM and SIGHUP into a close of the window, as if the user had pressed its
// close button, so the close handler still stores its settings; a signal ignored at start
// (nohup) stays ignored. Such a close never waits for a click: an open modal box is closed
// first, and an error of the close handler (a settings file that cannot be written) goes to the
// standard error stream, not into a box.
class UnixSignalCloser {
 public:
  explicit UnixSignalCloser(QWidget* window);
  ~UnixSignalCloser();

  UnixSignalCloser(const UnixSignalCloser&) = delete;
  UnixSignalCloser& operator=(const UnixSignalCloser&) = delete;

 private:
  void OnSignal();

  QPointer<QWidget> window_;
  std::unique_ptr<hid::TerminationSignals> signals_;
};

}  // namespace kvelt::app
