#pragma once

#include <string>
#include <string_view>

namespace kvelt {

enum class LineBreaks { Escape, Keep };

// Text from outside (a device's name, a path, a word of a command line) made safe to print on a
// terminal: the C0 controls, DEL and bytes that are not UTF-8 become "\xNN", the C1 controls
// "\u00NN", and a backslash "\\", so an escape sequence in a name is shown, never run. With
// LineBreaks::Keep a line feed stays as it is, for messages of several lines.
std::string EscapeControlCharacters(std::string_view text, LineBreaks lineBreaks = LineBreaks::Escape);

}  // namespace kvelt
