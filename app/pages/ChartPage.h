#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/widgets/ChartPicture.h"
#include "measure/ChannelReading.h"
#include "measure/qt/ChartFeed.h"

class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QObject;
class QWidget;
class TBitBtn;
class TSaveDialog;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// The chart page's logic: the channel frames' positions and speeds and the outputs' states drawn
// over a time that advances a tenth of a second per time step, run and stop, clear, the picture
// saved as a bitmap; the time window chosen, the view paused while the points go on filling,
// the value axis scaled to the data, and what is shown exported as PNG, SVG or CSV.
class ChartPage {
 public:
  // The time windows offered, in time units (tenths of channel-4 frames); the first is the
  // window the chart starts with.
  static constexpr std::array<int, 4> kTimeWindows = {10, 30, 60, 120};

  struct Controls {
    QChartView* View = nullptr;
    QChart* Chart = nullptr;
    ChartParts Parts;
    TBitBtn* PlayButton = nullptr;
    TSaveDialog* SaveDialog = nullptr;    // the bitmap
    QComboBox* WindowList = nullptr;      // one entry per kTimeWindows
    QCheckBox* PauseBox = nullptr;        // the view held
    QCheckBox* AutoScaleBox = nullptr;    // the value axis follows the data
    TSaveDialog* ExportDialog = nullptr;  // PNG, SVG or CSV, by the name's extension
  };
  // `currentPage` gives the page the picture takes its size from when the view was never shown;
  // `decimals` the read-outs' decimals the CSV is written with; `owner` owns the feed.
  ChartPage(const Controls& controls, const ChannelReadingArray& readings, const TLangTable& texts,
            std::function<QWidget*()> currentPage, std::function<int()> decimals, QObject* owner);

  bool Running() const { return running_; }
  // Runs or stops the chart; the play button offers the other.
  void SetRunning(bool running);
  float Time() const { return time_; }
  double TimeWindow() const { return window_; }

  // PlayButton: runs a stopped chart, stops a running one.
  void PlayClick();
  // The play button's caption for the chart's state in the active language (after a language
  // change, whose table gives the design-time caption).
  void ApplyCaption();
  // ClearButton: empties every series and starts the time afresh.
  void ClearClick();
  // SaveChartButton: the chart as a bitmap in the file the dialog gives; throws when it cannot
  // be written.
  void SaveClick();
  // The time window list: from now on the time axis shows the chosen span.
  void WindowChange();
  // The pause box: the view holds still or takes up the points gathered meanwhile.
  void PauseClick();
  void AutoScaleClick();
  // ExportChartButton: "*.svg" an SVG drawing, "*.csv" the points shown, any other name a PNG
  // image; throws when the file cannot be written.
  void ExportClick();
  // The points shown between the time axis' ends, of the series shown, as a CSV table.
  std::string CsvOfShownPoints() const;

  // The position and speed of channel 0..3 at the current time; other channels are ignored.
  void AddChannelPoints(int channel);
  void TimeStep();
  void AddOutputPoints(std::uint8_t outputState);

  // The point buffers, their display-rate refresh and the axis ranges; created on first use.
  ChartFeed& Feed();
  // Hands the points gathered so far and the axis ranges to the chart at once (not while paused).
  void Flush() { Feed().Flush(); }

 private:
  Controls controls_;
  const ChannelReadingArray& readings_;
  const TLangTable& texts_;
  std::function<int()> decimals_;
  QObject* owner_;
  ChartPicture picture_;
  ChartFeed* feed_ = nullptr;
  float time_ = 0.0f;
  double window_ = kTimeWindows[0];
  bool running_ = false;
};

}  // namespace kvelt::app
