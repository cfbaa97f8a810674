#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace kvelt::app {

// Lets widgets that change far more often than the screen can show repaint at most once per
// display refresh. A deferred widget has its updates switched off until the next tick, so
// whatever it changes in between costs no paint; at the tick its updates come back on, which
// repaints it once with its latest contents.
class DisplayRatePacer : public QObject {
 public:
  explicit DisplayRatePacer(QObject* parent = nullptr);

  // Holds the widget's repaints back until the next tick (started now unless one is pending).
  void Defer(QWidget* widget);
  // Repaints every deferred widget now.
  void Tick();

  int IntervalMs() const { return timer_.interval(); }
  void SetIntervalMs(int milliseconds) { timer_.setInterval(milliseconds); }
  bool TickPending() const { return timer_.isActive(); }

  // The refresh interval of the primary screen, 60 Hz when it tells none.
  static int ScreenIntervalMs();

 private:
  QTimer timer_;
  QList<QPointer<QWidget>> deferred_;
};

}  // namespace kvelt::app
