#pragma once

namespace kvelt::app {

// The program's version as the about box and --version show it; the build passes the project's
// version in, so the package and the program always agree.
#ifndef KVELT_PROGRAM_VERSION
#error "KVELT_PROGRAM_VERSION must be defined by the build"
#endif
inline constexpr const char16_t* kProgramVersion = u"" KVELT_PROGRAM_VERSION;

// The reverse-DNS application id: the desktop entry's file name, the AppStream id and the icon's
// name, all set by the build.
inline constexpr const char16_t* kApplicationId = u"" KVELT_APPLICATION_ID;

// The name of the executable, used on the command line and in its messages.
inline constexpr const char16_t* kProgramName = u"kvelt-pc";

}  // namespace kvelt::app
