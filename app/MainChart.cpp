// The hidden chart page: points fed by the channel frames, the time step, run/stop, clear and
// saving the picture.

#include <QImage>
#include <QString>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <array>
#include <stdexcept>

#include "app/ChartFeed.h"
#include "app/Main.h"
#include "app/SaveDialogRunner.h"
#include "app/TBitBtn.h"
#include "app/TSaveDialog.h"

namespace {

constexpr float kChartTimeStep = 0.1f;
constexpr double kTimeWindow = 10.0;

// Series numbers of the two series of a channel 0..3 and of the five outputs.
int SpeedSeries(int channel) { return 3 * channel + 1; }
int PositionSeries(int channel) { return 3 * channel + 3; }
constexpr std::array<int, TFMain::kOutputCount> kOutputSeries = {2, 5, 8, 11, 13};

// The size the picture is taken at when the view has never been laid out (the page is never
// shown): the size of the page it would fill.
QSize PictureSize(const QWidget& view, const QWidget* page) {
  constexpr int kSmallest = 100;
  const auto usable = [](const QSize& size) { return size.width() >= kSmallest && size.height() >= kSmallest; };
  if (view.testAttribute(Qt::WA_WState_ExplicitShowHide) && view.isVisible() && usable(view.size())) {
    return view.size();
  }
  if (page != nullptr && usable(page->size())) {
    return page->size();
  }
  return QSize(774, 420);
}

}  // namespace

TFMain::ChartFeed& TFMain::ChartPoints() {
  if (ChartFeed_ == nullptr) {
    ChartFeed_ = new ChartFeed(*this);
  }
  return *ChartFeed_;
}

void TFMain::FlushChartPoints() { ChartPoints().Flush(); }

void TFMain::PlayButtonClick(QObject* /*Sender*/) {
  if (PlayButton->text() == LangText("IDS_183")) {
    ChartRunning_ = true;
    PlayButton->setText(LangText("IDS_184"));
  } else {
    ChartRunning_ = false;
    PlayButton->setText(LangText("IDS_183"));
  }
}

void TFMain::ClearButtonClick(QObject* /*Sender*/) {
  ChartPoints().ClearAll();
  ChartTime = 0.0f;
}

void TFMain::SaveChartButtonClick(QObject* /*Sender*/) {
  const std::optional<QString> chosen = kvelt::app::RunSaveDialog(*SaveDialogBitmap);
  if (!chosen) {
    return;
  }
  FlushChartPoints();
  const QSize size = PictureSize(*Chart1, PageControl1 != nullptr ? PageControl1->currentWidget() : nullptr);
  Chart1->ensurePolished();
  if (Chart1->size() != size) {
    Chart1->resize(size);
  }
  // The view is not on screen: its chart follows its size only through the resize it is sent.
  Chart->resize(QSizeF(size));
  const QImage picture = Chart1->grab().toImage();
  if (picture.isNull() || !picture.save(*chosen, "BMP")) {
    throw std::runtime_error("Cannot create file \"" + chosen->toStdString() + "\"");
  }
}

void TFMain::AddChannelChartPoints(int channel) {
  if (channel < 0 || channel >= kvelt::kChannelCount) {
    return;
  }
  const kvelt::ChannelReading& reading = ChannelReadings[static_cast<std::size_t>(channel)];
  ChartPoints().Append(SpeedSeries(channel), ChartTime, reading.Speed);
  ChartPoints().Append(PositionSeries(channel), ChartTime, reading.Position);
}

void TFMain::ChartTimeStep() {
  ChartTime = static_cast<float>(ChartTime + kChartTimeStep);
  if (ChartTime > kTimeWindow) {
    ChartPoints().SetTimeWindow(static_cast<double>(ChartTime) - kTimeWindow, ChartTime);
  }
}

void TFMain::AddOutputChartPoints(std::uint8_t outputState) {
  for (int n = 1; n <= kOutputCount; ++n) {
    const int bit = (outputState >> (n - 1)) & 1;
    ChartPoints().Append(kOutputSeries[static_cast<std::size_t>(n - 1)], ChartTime, bit);
  }
}
