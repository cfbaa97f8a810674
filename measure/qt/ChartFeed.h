#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <optional>
#include <utility>

#include "app/ChartSeriesBuffer.h"
#include "app/Main.h"

// Feeds the thirteen series of the chart page. Points go into the window's own bounded buffers,
// which keep only what the time window can show plus a margin on its left (so the lines still
// run in from the edge);
// a single-shot timer at display rate (or an explicit Flush) hands each changed buffer to its
// series in one replace and then moves the axes, so adding a point never redraws the chart.
//
// Axes: the time axis follows the data (oldest to newest x) until the time step gives it a
// window; from then on it shows exactly the last window given, also after the chart is cleared.
// The value axis keeps its maximum and takes its minimum from the points held.
class TFMain::ChartFeed : public QObject {
 public:
  static constexpr int kFlushIntervalMs = 40;  // 25 refreshes a second at most
  // Points this far (in time units) left of the time window are still kept.
  static constexpr double kWindowMargin = 1.0;

  ChartFeed(TFMain& window, qsizetype capacity = kvelt::app::ChartSeriesBuffer::kDefaultCapacity,
            qsizetype dropBlock = kvelt::app::ChartSeriesBuffer::kDefaultDropBlock);

  // seriesNumber = 1..13 (SeriesN); other numbers are ignored.
  void Append(int seriesNumber, double x, double y);
  // Empties every buffer and its series at once, Series1 .. Series13 in turn. Axis ranges stay.
  void ClearAll();
  // From now on the time axis shows [minimum, maximum]; points older than the margin left of it go.
  void SetTimeWindow(double minimum, double maximum);

  // Hands the pending points and axis ranges to the chart now.
  void Flush();
  bool FlushScheduled() const { return timer_.isActive(); }
  // Whether the chart view is on screen, so that points go to it at display rate.
  bool OnScreen() const;

  const kvelt::app::ChartSeriesBuffer& Buffer(int seriesNumber) const;
  bool TimeWindowSet() const { return timeWindowSet_; }

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void ScheduleFlush();
  void ApplyTimeAxis();
  void ApplyValueAxis();

  TFMain& window_;
  // The watched chart view, kept apart from the window: its events can still arrive while the
  // window is being destroyed, when the window's own members are gone.
  const QObject* watchedChart_ = nullptr;
  std::array<kvelt::app::ChartSeriesBuffer, kSeriesCount> buffers_;
  QTimer timer_;
  bool timeWindowSet_ = false;
  std::optional<std::pair<double, double>> pendingTimeWindow_;
};
