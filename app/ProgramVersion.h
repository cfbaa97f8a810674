#pragma once

namespace kvelt::app {

// The program's version as the about box and --version show it.
inline constexpr const char16_t* kProgramVersion = u"1.05";

}  // namespace kvelt::app
