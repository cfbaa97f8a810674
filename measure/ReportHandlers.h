#pragma once

#include "measure/ChartSteps.h"
#include "measure/FrameSteps.h"
#include "measure/ReplyHandlers.h"

namespace kvelt {

// Every call-out of the report dispatcher, for a program with a chart (the main window).
class ReportHandlers : public FrameSteps, public ChartSteps, public ReplyHandlers {};

}  // namespace kvelt
