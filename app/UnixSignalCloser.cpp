#include "app/UnixSignalCloser.h"

#include <QApplication>

#include "app/HandlerGuard.h"
#include "device/qt/TerminationSignals.h"

namespace kvelt::app {

UnixSignalCloser::UnixSignalCloser(QWidget* window)
    : window_(window), signals_(std::make_unique<hid::TerminationSignals>([this] { OnSignal(); })) {}

UnixSignalCloser::~UnixSignalCloser() = default;

void UnixSignalCloser::OnSignal() {
  const ErrorsToStandardError noBoxes;
  // A modal box runs its own loop; closing it lets the stack unwind once this returns.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != window_ && widget->isVisible() && widget->isModal()) {
      widget->close();
    }
  }
  if (window_) {
    window_->close();
  }
}

}  // namespace kvelt::app
