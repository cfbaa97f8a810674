#pragma once

#include "protocol/OutboundReport.h"

namespace kvelt::app {

// Where a page's requests to the counter go; nothing is sent while there is no counter.
class ReportSender {
 public:
  virtual ~ReportSender() = default;
  virtual void Send(const OutboundReport& report) = 0;

 protected:
  ReportSender() = default;
  ReportSender(const ReportSender&) = default;
  ReportSender& operator=(const ReportSender&) = default;
};

}  // namespace kvelt::app
