#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/ChannelReading.h"
#include "measure/ReportHandlers.h"

namespace kvelt::testing {

// Handlers that write every call into a log, as text, so tests can compare whole call sequences.
// Queries (UnitSelection, ChartRunning) are answered from fields and not logged.
class RecordingHandlers : public ReportHandlers {
 public:
  explicit RecordingHandlers(const ChannelReadingArray& readings) : readings_(readings) {}

  int Unit = 0;
  bool Chart = false;
  bool RecordingContinues = true;
  std::vector<std::string> Log;
  // Position and speed of the refreshed channel as they were when RefreshReadouts ran.
  std::vector<float> RefreshedPositions, RefreshedSpeeds;
  std::vector<OutputsFirstHalf> FirstHalves;
  std::vector<OutputsSecondHalf> SecondHalves;
  std::vector<ResolutionReply> Resolutions;
  std::vector<CoefficientReply> Coefficients;
  std::vector<ZeroMarkerReply> ZeroMarkers;

  int UnitSelection() const override { return Unit; }
  void RefreshReadouts(int channel) override {
    Log.push_back("Refresh " + std::to_string(channel));
    RefreshedPositions.push_back(readings_[static_cast<std::size_t>(channel)].Position);
    RefreshedSpeeds.push_back(readings_[static_cast<std::size_t>(channel)].Speed);
  }
  bool ChartRunning() const override { return Chart; }
  void AddChannelChartPoints(int channel) override {
    Log.push_back("ChartPoints " + std::to_string(channel));
  }
  void ChartTimeStep() override { Log.push_back("ChartTimeStep"); }
  bool RecordingTick() override {
    Log.push_back("RecordingTick");
    return RecordingContinues;
  }
  void AddOutputChartPoints(std::uint8_t outputState) override {
    Log.push_back("OutputPoints " + std::to_string(outputState));
  }
  void OnResolutionSet() override { Log.push_back("104"); }
  void OnCoefficientSet() override { Log.push_back("105"); }
  void OnPositionCleared() override { Log.push_back("106"); }
  void OnOutputsFirstWritten() override { Log.push_back("107"); }
  void OnOutputsFirstRead(const OutputsFirstHalf& half) override {
    Log.push_back("108");
    FirstHalves.push_back(half);
  }
  void OnModbusAddressSet() override { Log.push_back("109"); }
  void OnGateTimeSet() override { Log.push_back("110"); }
  void OnModbusBaudRateSet() override { Log.push_back("111"); }
  void OnOutputsSecondWritten() override { Log.push_back("112"); }
  void OnOutputsSecondRead(const OutputsSecondHalf& half) override {
    Log.push_back("113");
    SecondHalves.push_back(half);
  }
  void OnResolutionRead(const ResolutionReply& reply) override {
    Log.push_back("114");
    Resolutions.push_back(reply);
  }
  void OnCoefficientRead(const CoefficientReply& reply) override {
    Log.push_back("115");
    Coefficients.push_back(reply);
  }
  void OnZeroMarkerSet() override { Log.push_back("116"); }
  void OnZeroMarkerRead(const ZeroMarkerReply& reply) override {
    Log.push_back("117");
    ZeroMarkers.push_back(reply);
  }

 private:
  const ChannelReadingArray& readings_;
};

}  // namespace kvelt::testing
