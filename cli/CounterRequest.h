#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "protocol/OutboundReport.h"

namespace kvelt::cli {

class CounterLink;

// Sends a request and runs the event loop until `answered()` holds. Throws CliFailure: exit 4
// when no answer came within `timeout` (or the request could not be written), exit 2 when the
// counter went away. `what` names the request in the message.
void AskCounter(CounterLink& link, const OutboundReport& request, const std::function<bool()>& answered,
                std::chrono::milliseconds timeout, const std::string& what);

}  // namespace kvelt::cli
