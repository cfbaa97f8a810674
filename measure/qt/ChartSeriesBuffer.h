#pragma once

#include <QList>
#include <QPointF>
#include <QtGlobal>
#include <optional>

namespace kvelt {

// The points of one chart series, kept by the window rather than by the chart so that appending
// stays cheap and the chart is refreshed in one go at display rate. The feed drops the points
// that have left the time window (DropOlderThan), so a running chart holds about one window of
// points. As a backstop for points that pile up without the time moving on, at least the newest
// `capacity` points are kept: once `capacity + dropBlock` are held, the oldest `dropBlock` go at
// once, so the drop is paid once per block.
class ChartSeriesBuffer {
 public:
  static constexpr qsizetype kDefaultCapacity = 1000;
  static constexpr qsizetype kDefaultDropBlock = 100;

  explicit ChartSeriesBuffer(qsizetype capacity = kDefaultCapacity, qsizetype dropBlock = kDefaultDropBlock);

  void Append(QPointF point);
  void Clear();
  // Removes the leading points whose x lies below `x` (the points are in ascending x).
  void DropOlderThan(double x);

  const QList<QPointF>& Points() const { return points_; }
  qsizetype Size() const { return points_.size(); }
  qsizetype MaximumSize() const { return capacity_ + dropBlock_; }

  // Whether the points changed since the chart was last given them.
  bool Changed() const { return changed_; }
  void MarkPresented() { changed_ = false; }

  // The smallest and the largest finite y value held, nothing when none is held.
  std::optional<double> MinimumY() const;
  std::optional<double> MaximumY() const;

 private:
  void RecomputeExtremes();

  qsizetype capacity_;
  qsizetype dropBlock_;
  QList<QPointF> points_;
  double minimumY_;
  double maximumY_;
  bool changed_ = false;
};

}  // namespace kvelt
