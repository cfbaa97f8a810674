#include "app/pages/ChartPage.h"

#include <QImage>
#include <QString>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <array>
#include <stdexcept>
#include <utility>

#include "app/pages/PageText.h"
#include "app/widgets/SaveDialogRunner.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"

namespace kvelt::app {
namespace {

constexpr float kChartTimeStep = 0.1f;
constexpr double kTimeWindow = 10.0;
constexpr int kOutputCount = 5;

// Series numbers of the two series of a channel 0..3 and of the five outputs.
int SpeedSeries(int channel) { return 3 * channel + 1; }
int PositionSeries(int channel) { return 3 * channel + 3; }
constexpr std::array<int, kOutputCount> kOutputSeries = {2, 5, 8, 11, 13};

// The size the picture is taken at when the view has never been laid out (the page is never
// shown): the size of the page it would fill.
QSize PictureSize(const QWidget& view, const QWidget* page) {
  constexpr int kSmallest = 100;
  const auto usable = [](const QSize& size) {
    return size.width() >= kSmallest && size.height() >= kSmallest;
  };
  if (view.testAttribute(Qt::WA_WState_ExplicitShowHide) && view.isVisible() && usable(view.size())) {
    return view.size();
  }
  if (page != nullptr && usable(page->size())) {
    return page->size();
  }
  return QSize(774, 420);
}

}  // namespace

ChartPage::ChartPage(const Controls& controls, const ChannelReadingArray& readings, const TLangTable& texts,
                     std::function<QWidget*()> currentPage, QObject* owner)
    : controls_(controls),
      readings_(readings),
      texts_(texts),
      currentPage_(std::move(currentPage)),
      owner_(owner) {}

ChartFeed& ChartPage::Feed() {
  if (feed_ == nullptr) {
    feed_ = new ChartFeed(controls_.Parts, owner_);
  }
  return *feed_;
}

void ChartPage::PlayClick() {
  running_ = controls_.PlayButton->text() == PageText(texts_, "IDS_183");
  controls_.PlayButton->setText(PageText(texts_, running_ ? "IDS_184" : "IDS_183"));
}

void ChartPage::ClearClick() {
  Feed().ClearAll();
  time_ = 0.0f;
}

void ChartPage::SaveClick() {
  const std::optional<QString> chosen = RunSaveDialog(*controls_.SaveDialog);
  if (!chosen) {
    return;
  }
  Flush();
  QChartView& view = *controls_.View;
  const QSize size = PictureSize(view, currentPage_ ? currentPage_() : nullptr);
  view.ensurePolished();
  if (view.size() != size) {
    view.resize(size);
  }
  // The view is not on screen: its chart follows its size only through the resize it is sent.
  controls_.Chart->resize(QSizeF(size));
  const QImage picture = view.grab().toImage();
  if (picture.isNull() || !picture.save(*chosen, "BMP")) {
    throw std::runtime_error("Cannot create file \"" + chosen->toStdString() + "\"");
  }
}

void ChartPage::AddChannelPoints(int channel) {
  if (channel < 0 || channel >= kChannelCount) {
    return;
  }
  const ChannelReading& reading = readings_[static_cast<std::size_t>(channel)];
  Feed().Append(SpeedSeries(channel), time_, reading.Speed);
  Feed().Append(PositionSeries(channel), time_, reading.Position);
}

void ChartPage::TimeStep() {
  time_ = static_cast<float>(time_ + kChartTimeStep);
  if (time_ > kTimeWindow) {
    Feed().SetTimeWindow(static_cast<double>(time_) - kTimeWindow, time_);
  }
}

void ChartPage::AddOutputPoints(std::uint8_t outputState) {
  for (int n = 1; n <= kOutputCount; ++n) {
    const int bit = (outputState >> (n - 1)) & 1;
    Feed().Append(kOutputSeries[static_cast<std::size_t>(n - 1)], time_, bit);
  }
}

}  // namespace kvelt::app
