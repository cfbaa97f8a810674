#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <optional>
#include <utility>

#include "measure/qt/ChartSeriesBuffer.h"

class QLineSeries;
class QValueAxis;
class QWidget;

namespace kvelt {

// What the feed draws into: the view (its visibility paces the refresh), the thirteen series
// (Series[n - 1] = SeriesN, any may be missing) and the two axes (either may be missing).
struct ChartParts {
  static constexpr int kSeriesCount = 13;
  QWidget* View = nullptr;
  std::array<QLineSeries*, kSeriesCount> Series{};
  QValueAxis* TimeAxis = nullptr;
  QValueAxis* ValueAxis = nullptr;
};

// Feeds the thirteen series of the chart page. Points go into the feed's own bounded buffers,
// which keep only what the time window can show plus a margin on its left (so the lines still
// run in from the edge);
// a single-shot timer at display rate (or an explicit Flush) hands each changed buffer to its
// series in one replace and then moves the axes, so adding a point never redraws the chart.
//
// Axes: the time axis follows the data (oldest to newest x) until the time step gives it a
// window; from then on it shows exactly the last window given, also after the chart is cleared.
// The value axis keeps its maximum and takes its minimum from the points held; with autoscale it
// takes both from the points of the series shown.
//
// Paused, the chart keeps what it shows while the buffers go on filling (and dropping what leaves
// the time window); resuming hands them over.
class ChartFeed : public QObject {
 public:
  // 20 refreshes a second at most: each refresh works out every series and both axes afresh (the
  // time window slides at every refresh), which is most of what the chart costs on screen.
  static constexpr int kFlushIntervalMs = 50;
  // Points this far (in time units) left of the time window are still kept.
  static constexpr double kWindowMargin = 1.0;

  static constexpr int kSeriesCount = ChartParts::kSeriesCount;

  ChartFeed(const ChartParts& parts, QObject* parent,
            qsizetype capacity = ChartSeriesBuffer::kDefaultCapacity,
            qsizetype dropBlock = ChartSeriesBuffer::kDefaultDropBlock);

  // seriesNumber = 1..13 (SeriesN); other numbers are ignored.
  void Append(int seriesNumber, double x, double y);
  // Empties every buffer and its series at once, Series1 .. Series13 in turn. Axis ranges stay.
  void ClearAll();
  // From now on the time axis shows [minimum, maximum]; points older than the margin left of it go.
  void SetTimeWindow(double minimum, double maximum);

  // Hands the pending points and axis ranges to the chart now; nothing while paused.
  void Flush();
  void SetPaused(bool paused);
  bool Paused() const { return paused_; }
  void SetAutoScale(bool autoScale);
  bool AutoScale() const { return autoScale_; }
  bool FlushScheduled() const { return timer_.isActive(); }
  // Whether the chart view is on screen, so that points go to it at display rate.
  bool OnScreen() const;

  const ChartSeriesBuffer& Buffer(int seriesNumber) const;
  // Every point of series 1..13 as last handed to the chart (its series holds only the points
  // its line needs).
  const QList<QPointF>& Shown(int seriesNumber) const;
  bool TimeWindowSet() const { return timeWindowSet_; }

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void ScheduleFlush();
  // Both axes' (minimum, maximum).
  using AxisRanges = std::pair<std::pair<double, double>, std::pair<double, double>>;
  AxisRanges Ranges() const;
  void ApplyTimeAxis();
  void ApplyValueAxis();

  ChartParts parts_;
  // The value axis' maximum as built, kept while autoscale is off.
  double fixedMaximum_ = 0.0;
  // The watched chart view: its events can still arrive while the window that holds it is
  // being destroyed.
  const QObject* watchedChart_ = nullptr;
  std::array<ChartSeriesBuffer, kSeriesCount> buffers_;
  std::array<QList<QPointF>, kSeriesCount> shown_;
  QTimer timer_;
  bool timeWindowSet_ = false;
  bool paused_ = false;
  bool autoScale_ = false;
  std::optional<std::pair<double, double>> pendingTimeWindow_;
};

}  // namespace kvelt
