#include "cli/CounterRequest.h"

#include "cli/CounterLink.h"
#include "cli/ExitCode.h"

namespace kvelt::cli {

void AskCounter(CounterLink& link, const OutboundReport& request, const std::function<bool()>& answered,
                std::chrono::milliseconds timeout, const std::string& what) {
  if (!link.Send(request)) {
    throw CliFailure(ExitCode::NoReply, "the request for " + what + " could not be sent to the counter");
  }
  switch (link.RunUntil(answered, timeout)) {
    case CounterLink::Wait::Done:
      return;
    case CounterLink::Wait::Unplugged:
      throw CliFailure(ExitCode::NoCounter, "the counter was unplugged");
    case CounterLink::Wait::Stopped:
    case CounterLink::Wait::TimedOut:
      break;
  }
  throw CliFailure(ExitCode::NoReply, "no reply from the counter to " + what + " within " +
                                          std::to_string(timeout.count()) + " ms");
}

}  // namespace kvelt::cli
