#include "measure/qt/ChartFeed.h"

#include <QEvent>
#include <QPen>
#include <QSignalBlocker>
#include <QWidget>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <limits>
#include <vector>

#include "measure/qt/ChartLinePoints.h"

namespace kvelt {
namespace {

// The value axis keeps at least this span below its fixed maximum when the data lie above it.
constexpr double kMinimumValueSpan = 1.0;

std::array<ChartSeriesBuffer, ChartFeed::kSeriesCount> MakeBuffers(qsizetype capacity, qsizetype dropBlock) {
  std::array<ChartSeriesBuffer, ChartFeed::kSeriesCount> buffers;
  buffers.fill(ChartSeriesBuffer(capacity, dropBlock));
  return buffers;
}

}  // namespace

ChartFeed::ChartFeed(const ChartParts& parts, QObject* parent, qsizetype capacity, qsizetype dropBlock)
    : QObject(parent), parts_(parts), buffers_(MakeBuffers(capacity, dropBlock)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kFlushIntervalMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Flush(); });
  if (parts_.View != nullptr) {
    watchedChart_ = parts_.View;
    parts_.View->installEventFilter(this);
  }
  if (parts_.ValueAxis != nullptr) {
    fixedMaximum_ = parts_.ValueAxis->max();
  }
  for (QLineSeries* series : parts_.Series) {
    if (series != nullptr) {
      // One-pixel lines take the painter's fast path; the default two-pixel pen goes through the
      // stroker with its joins at every repaint.
      QPen pen = series->pen();
      pen.setWidth(1);
      series->setPen(pen);
      // A series hidden or shown from the legend changes what autoscale takes in.
      connect(series, &QLineSeries::visibleChanged, this, [this] {
        if (autoScale_ && !paused_) {
          ApplyValueAxis();
        }
      });
    }
  }
}

bool ChartFeed::OnScreen() const { return parts_.View != nullptr && parts_.View->isVisible(); }

bool ChartFeed::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedChart_ && event->type() == QEvent::Show) {
    Flush();
  }
  return false;
}

void ChartFeed::Append(int seriesNumber, double x, double y) {
  if (seriesNumber < 1 || seriesNumber > kSeriesCount) {
    return;
  }
  buffers_[static_cast<std::size_t>(seriesNumber - 1)].Append(QPointF(x, y));
  ScheduleFlush();
}

void ChartFeed::ClearAll() {
  for (std::size_t n = 0; n < buffers_.size(); ++n) {
    buffers_[n].Clear();
    if (QLineSeries* series = parts_.Series[n]) {
      series->clear();
    }
    shown_[n].clear();
    buffers_[n].MarkPresented();
  }
}

void ChartFeed::SetTimeWindow(double minimum, double maximum) {
  timeWindowSet_ = true;
  pendingTimeWindow_ = std::make_pair(minimum, maximum);
  for (ChartSeriesBuffer& buffer : buffers_) {
    buffer.DropOlderThan(minimum - kWindowMargin);
  }
  ScheduleFlush();
}

void ChartFeed::SetPaused(bool paused) {
  paused_ = paused;
  if (!paused_) {
    Flush();
  }
}

void ChartFeed::SetAutoScale(bool autoScale) {
  autoScale_ = autoScale;
  if (!paused_) {
    ApplyValueAxis();
  }
}

void ChartFeed::Flush() {
  timer_.stop();
  if (paused_) {
    return;
  }
  // A series works out its drawing for every replace and again for every change of an axis. The
  // replaces are made quietly, so that the axes' change (the time window slides at nearly every
  // flush) has each series worked out once, from its new points; only when no axis moved are the
  // series told of their points. A series left empty is told at once: the chart skips empty
  // series on an axis change and would keep drawing the old line.
  std::vector<QLineSeries*> quietlyReplaced;
  for (std::size_t n = 0; n < buffers_.size(); ++n) {
    ChartSeriesBuffer& buffer = buffers_[n];
    if (!buffer.Changed()) {
      continue;
    }
    if (QLineSeries* series = parts_.Series[n]) {
      // The series gets only the points its line needs: a refresh costs by the points drawn.
      const QList<QPointF> line = ChartLinePoints(buffer.Points());
      if (line.isEmpty()) {
        series->replace(line);
      } else {
        const QSignalBlocker quiet(series);
        series->replace(line);
        quietlyReplaced.push_back(series);
      }
    }
    shown_[n] = buffer.Points();
    buffer.MarkPresented();
  }
  const AxisRanges before = Ranges();
  ApplyTimeAxis();
  ApplyValueAxis();
  if (Ranges() == before) {
    for (QLineSeries* series : quietlyReplaced) {
      emit series->pointsReplaced();
    }
  }
}

ChartFeed::AxisRanges ChartFeed::Ranges() const {
  const auto range = [](const QValueAxis* axis) {
    return axis != nullptr ? std::make_pair(axis->min(), axis->max()) : std::make_pair(0.0, 0.0);
  };
  return {range(parts_.TimeAxis), range(parts_.ValueAxis)};
}

const QList<QPointF>& ChartFeed::Shown(int seriesNumber) const {
  return shown_[static_cast<std::size_t>(std::clamp(seriesNumber, 1, kSeriesCount) - 1)];
}

const ChartSeriesBuffer& ChartFeed::Buffer(int seriesNumber) const {
  return buffers_[static_cast<std::size_t>(std::clamp(seriesNumber, 1, kSeriesCount) - 1)];
}

void ChartFeed::ScheduleFlush() {
  if (!paused_ && !timer_.isActive() && OnScreen()) {
    timer_.start();
  }
}

void ChartFeed::ApplyTimeAxis() {
  QValueAxis* axis = parts_.TimeAxis;
  if (axis == nullptr) {
    return;
  }
  if (pendingTimeWindow_) {
    axis->setRange(pendingTimeWindow_->first, pendingTimeWindow_->second);
    pendingTimeWindow_.reset();
    return;
  }
  if (timeWindowSet_) {
    return;
  }
  // Each buffer holds its points in ascending x: the first is the oldest, the last the newest.
  double oldest = std::numeric_limits<double>::infinity();
  double newest = -std::numeric_limits<double>::infinity();
  for (const ChartSeriesBuffer& buffer : buffers_) {
    if (buffer.Size() > 0) {
      oldest = std::min(oldest, buffer.Points().constFirst().x());
      newest = std::max(newest, buffer.Points().constLast().x());
    }
  }
  if (newest > oldest && (axis->min() != oldest || axis->max() != newest)) {
    axis->setRange(oldest, newest);
  }
}

void ChartFeed::ApplyValueAxis() {
  QValueAxis* axis = parts_.ValueAxis;
  if (axis == nullptr) {
    return;
  }
  std::optional<double> lowest;
  std::optional<double> highest;
  for (std::size_t n = 0; n < buffers_.size(); ++n) {
    const QLineSeries* series = parts_.Series[n];
    if (autoScale_ && series != nullptr && !series->isVisible()) {
      continue;
    }
    if (const std::optional<double> minimum = buffers_[n].MinimumY()) {
      lowest = lowest ? std::min(*lowest, *minimum) : *minimum;
    }
    if (const std::optional<double> maximum = buffers_[n].MaximumY()) {
      highest = highest ? std::max(*highest, *maximum) : *maximum;
    }
  }
  if (autoScale_) {
    if (lowest && highest) {
      // A flat line gets a span around it, so it is drawn inside the plot.
      const double span = std::max(*highest - *lowest, kMinimumValueSpan);
      const double middle = (*lowest + *highest) / 2.0;
      axis->setRange(middle - span / 2.0, middle + span / 2.0);
    }
    return;
  }
  if (axis->max() != fixedMaximum_) {
    axis->setMax(fixedMaximum_);
  }
  if (!lowest) {
    return;
  }
  const double maximum = axis->max();
  const double minimum = std::min(*lowest, maximum - kMinimumValueSpan);
  if (axis->min() != minimum) {
    axis->setMin(minimum);
  }
}

}  // namespace kvelt
