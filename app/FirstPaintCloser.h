#pragma once

#include <QObject>

class QWidget;

namespace kvelt::app {

// Closes a window once it has been painted for the first time (--quit-after-show), so that a
// run measures start-up up to the first frame on screen. The close comes after the paint pass
// that drew the window has ended, and only once.
class FirstPaintCloser : public QObject {
 public:
  // Watches `window`; a child of it.
  explicit FirstPaintCloser(QWidget* window);

  bool Painted() const { return painted_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  bool painted_ = false;
};

}  // namespace kvelt::app
