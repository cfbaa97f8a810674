#include "app/widgets/ChartPicture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>
#include <utility>
#include <vector>

namespace kvelt::app {
namespace {

constexpr int kSmallest = 100;
const QSize kFallbackSize(774, 420);

bool Usable(const QSize& size) { return size.width() >= kSmallest && size.height() >= kSmallest; }

}  // namespace

ChartPicture::ChartPicture(QChartView* view, QChart* chart, std::function<QWidget*()> currentPage)
    : view_(view), chart_(chart), currentPage_(std::move(currentPage)) {}

QSize ChartPicture::PrepareSize() {
  QChartView& view = *view_;
  QSize size = kFallbackSize;
  const QWidget* page = currentPage_ ? currentPage_() : nullptr;
  if (view.testAttribute(Qt::WA_WState_ExplicitShowHide) && view.isVisible() && Usable(view.size())) {
    size = view.size();
  } else if (page != nullptr && Usable(page->size())) {
    size = page->size();
  }
  view.ensurePolished();
  if (view.size() != size) {
    view.resize(size);
  }
  // A view not on screen: its chart follows its size only through the resize it is sent.
  chart_->resize(QSizeF(size));
  return size;
}

QImage ChartPicture::Grab() {
  PrepareSize();
  return view_->grab().toImage();
}

QByteArray ChartPicture::Encoded(const char* format) {
  const QImage picture = Grab();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (picture.isNull() || !picture.save(&buffer, format)) {
    return {};
  }
  return bytes;
}

QByteArray ChartPicture::Svg() {
  const QSize size = PrepareSize();
  // The SVG writer keeps no clipping, so the lines would run out of the plot on the left: the
  // series are drawn with their points inside the time axis only, and then given theirs back.
  std::vector<std::pair<QXYSeries*, QList<QPointF>>> kept;
  const QList<QAbstractAxis*> timeAxes = chart_->axes(Qt::Horizontal);
  if (const auto* time = timeAxes.isEmpty() ? nullptr : qobject_cast<const QValueAxis*>(timeAxes.front())) {
    for (QAbstractSeries* shown : chart_->series()) {
      if (auto* series = qobject_cast<QXYSeries*>(shown)) {
        QList<QPointF> inside;
        for (const QPointF& point : series->points()) {
          if (point.x() >= time->min() && point.x() <= time->max()) {
            inside.append(point);
          }
        }
        kept.emplace_back(series, series->points());
        series->replace(inside);
      }
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QStringLiteral("KVELT - PC"));
  QPainter painter(&generator);
  view_->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), QRect(QPoint(0, 0), size));
  painter.end();
  for (auto& [series, points] : kept) {
    series->replace(points);
  }
  return bytes;
}

}  // namespace kvelt::app
