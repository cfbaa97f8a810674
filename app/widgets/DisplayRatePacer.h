#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace kvelt::app {

// Lets widgets that change far more often than the screen can show repaint at most once per
// display refresh: a widget changes its contents without asking for a repaint and hands the
// repaint to the pacer, which repaints every such widget once at the next tick, with its latest
// contents.
class DisplayRatePacer : public QObject {
 public:
  explicit DisplayRatePacer(QObject* parent = nullptr);

  // Repaints the widget at the next tick (started now unless one is pending).
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
