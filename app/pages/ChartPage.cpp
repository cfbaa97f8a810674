#include "app/pages/ChartPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QString>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/pages/PageText.h"
#include "app/widgets/ExportFile.h"
#include "app/widgets/SaveDialogRunner.h"
#include "app/widgets/TBitBtn.h"
#include "app/widgets/TSaveDialog.h"
#include "measure/qt/ChartCsv.h"
#include "measure/qt/LocaleRecordLine.h"

namespace kvelt::app {
namespace {

constexpr float kChartTimeStep = 0.1f;
constexpr int kOutputCount = 5;
// Points kept per series: the widest time window with its margin, in time steps, and some over.
constexpr qsizetype kSeriesCapacity =
    static_cast<qsizetype>((ChartPage::kTimeWindows.back() + ChartFeed::kWindowMargin) / kChartTimeStep) + 50;

// Series numbers of the two series of a channel 0..3 and of the five outputs.
int SpeedSeries(int channel) { return 3 * channel + 1; }
int PositionSeries(int channel) { return 3 * channel + 3; }
constexpr std::array<int, kOutputCount> kOutputSeries = {2, 5, 8, 11, 13};

}  // namespace

ChartPage::ChartPage(const Controls& controls, const ChannelReadingArray& readings, const TLangTable& texts,
                     std::function<QWidget*()> currentPage, std::function<int()> decimals, QObject* owner)
    : controls_(controls),
      readings_(readings),
      texts_(texts),
      decimals_(std::move(decimals)),
      owner_(owner),
      picture_(controls.View, controls.Chart, std::move(currentPage)) {}

ChartFeed& ChartPage::Feed() {
  if (feed_ == nullptr) {
    feed_ = new ChartFeed(controls_.Parts, owner_, kSeriesCapacity);
  }
  return *feed_;
}

void ChartPage::SetRunning(bool running) {
  running_ = running;
  ApplyCaption();
}

void ChartPage::PlayClick() { SetRunning(!running_); }

void ChartPage::ApplyCaption() {
  controls_.PlayButton->setText(PageText(texts_, running_ ? "IDS_184" : "IDS_183"));
  if (controls_.Parts.TimeAxis != nullptr) {
    controls_.Parts.TimeAxis->setTitleText(PageText(texts_, "IDS_238"));
  }
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
  WriteExportFile(*chosen, picture_.Encoded("BMP"));
}

void ChartPage::WindowChange() {
  const int index = controls_.WindowList->currentIndex();
  if (index < 0 || index >= static_cast<int>(kTimeWindows.size())) {
    return;
  }
  window_ = kTimeWindows[static_cast<std::size_t>(index)];
  if (time_ > window_) {
    Feed().SetTimeWindow(static_cast<double>(time_) - window_, time_);
  }
}

void ChartPage::PauseClick() { Feed().SetPaused(controls_.PauseBox->isChecked()); }

void ChartPage::AutoScaleClick() { Feed().SetAutoScale(controls_.AutoScaleBox->isChecked()); }

void ChartPage::ExportClick() {
  const std::optional<QString> chosen = RunSaveDialog(*controls_.ExportDialog);
  if (!chosen) {
    return;
  }
  Flush();
  const QString suffix = QFileInfo(*chosen).suffix().toLower();
  if (suffix == u"svg") {
    WriteExportFile(*chosen, picture_.Svg());
  } else if (suffix == u"csv") {
    WriteExportFile(*chosen, QByteArray::fromStdString(CsvOfShownPoints()));
  } else {
    WriteExportFile(*chosen, picture_.Encoded("PNG"));
  }
}

std::string ChartPage::CsvOfShownPoints() const {
  std::vector<ChartCsvColumn> columns;
  // The chart's own order is the legend's; the points are all those shown, where the series
  // holds only what its line needs.
  const auto& all = controls_.Parts.Series;
  for (QAbstractSeries* shown : controls_.Chart->series()) {
    const auto found = std::find(all.cbegin(), all.cend(), shown);
    if (found != all.cend() && shown->isVisible()) {
      const int number = static_cast<int>(found - all.cbegin()) + 1;
      columns.push_back(
          {shown->name().toStdString(), feed_ != nullptr ? feed_->Shown(number) : QList<QPointF>{}});
    }
  }
  const QValueAxis* axis = controls_.Parts.TimeAxis;
  return ComposeChartCsv(columns, axis->min(), axis->max(), decimals_(), SystemDecimalSeparator());
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
  if (time_ > window_) {
    Feed().SetTimeWindow(static_cast<double>(time_) - window_, time_);
  }
}

void ChartPage::AddOutputPoints(std::uint8_t outputState) {
  for (int n = 1; n <= kOutputCount; ++n) {
    const int bit = (outputState >> (n - 1)) & 1;
    Feed().Append(kOutputSeries[static_cast<std::size_t>(n - 1)], time_, bit);
  }
}

}  // namespace kvelt::app
