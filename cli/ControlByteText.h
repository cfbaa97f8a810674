#pragma once

#include <string>
#include <string_view>

namespace kvelt::cli {

// Text from standard input or the command line as it may be shown on a terminal: every control
// byte (below 0x20, and 0x7F) becomes "\xNN", so a message cannot move the cursor or clear the
// screen. The one place the command line's messages escape such text.
std::string EscapeControlBytes(std::string_view text);

}  // namespace kvelt::cli
