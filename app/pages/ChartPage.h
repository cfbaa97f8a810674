#pragma once

#include <QtGlobal>
#include <cstdint>
#include <functional>

#include "measure/ChannelReading.h"
#include "measure/qt/ChartFeed.h"

class QChart;
class QChartView;
class QObject;
class QWidget;
class TBitBtn;
class TSaveDialog;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// The chart page's logic: the channel frames' positions and speeds and the outputs' states drawn
// over a time that advances a tenth of a second per time step, run and stop, clear, and the
// picture saved as a bitmap.
class ChartPage {
 public:
  struct Controls {
    QChartView* View = nullptr;
    QChart* Chart = nullptr;
    ChartParts Parts;
    TBitBtn* PlayButton = nullptr;
    TSaveDialog* SaveDialog = nullptr;
  };
  // `currentPage` gives the page the picture takes its size from when the view was never shown;
  // `owner` owns the feed.
  ChartPage(const Controls& controls, const ChannelReadingArray& readings, const TLangTable& texts,
            std::function<QWidget*()> currentPage, QObject* owner);

  bool Running() const { return running_; }
  void SetRunning(bool running) { running_ = running; }
  float Time() const { return time_; }

  // PlayButton: runs or stops the chart, as its caption says.
  void PlayClick();
  // ClearButton: empties every series and starts the time afresh.
  void ClearClick();
  // SaveChartButton: the chart as a bitmap in the file the dialog gives; throws when it cannot
  // be written.
  void SaveClick();

  // The position and speed of channel 0..3 at the current time; other channels are ignored.
  void AddChannelPoints(int channel);
  void TimeStep();
  void AddOutputPoints(std::uint8_t outputState);

  // The point buffers, their display-rate refresh and the axis ranges; created on first use.
  ChartFeed& Feed();
  // Hands the points gathered so far and the axis ranges to the chart at once.
  void Flush() { Feed().Flush(); }

 private:
  Controls controls_;
  const ChannelReadingArray& readings_;
  const TLangTable& texts_;
  std::function<QWidget*()> currentPage_;
  QObject* owner_;
  ChartFeed* feed_ = nullptr;
  float time_ = 0.0f;
  bool running_ = false;
};

}  // namespace kvelt::app
