#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <functional>

class QChart;
class QChartView;
class QWidget;

namespace kvelt::app {

// The chart as a picture: a raster image (BMP, PNG) or an SVG drawing, at the size of the view on
// screen or, when the view was never laid out (its page not shown), the size of the page it
// would fill.
class ChartPicture {
 public:
  // `currentPage` gives the page to take the size from when the view has none.
  ChartPicture(QChartView* view, QChart* chart, std::function<QWidget*()> currentPage);

  // The size the picture is taken at; the view and its chart are given it.
  QSize PrepareSize();
  // The picture in an image format Qt writes ("BMP", "PNG"); empty when it cannot be made.
  QByteArray Encoded(const char* format);
  // The picture as an SVG document.
  QByteArray Svg();

 private:
  QImage Grab();

  QChartView* view_;
  QChart* chart_;
  std::function<QWidget*()> currentPage_;
};

}  // namespace kvelt::app
