#include "cli/SettingsInput.h"

namespace kvelt::cli {

SettingsInput::Status SettingsInput::Next(std::vector<std::string>& words) {
  for (;;) {
    words.clear();
    std::string word;
    bool comment = false;
    int c = 0;
    ++line_;
    while ((c = std::getc(stream_)) != EOF && c != '\n') {
      if (++read_ > kLimit) return Status::TooLong;
      if (comment) continue;
      // Blanks (and the CR of a CR LF line) separate words; control bytes stay in a word, to be
      // refused with the rest of it.
      if (c == ' ' || c == '\t' || c == '\r') {
        if (!word.empty()) words.push_back(std::move(word));
        word.clear();
      } else if (c == '#' && word.empty() && words.empty()) {
        comment = true;
      } else {
        word += static_cast<char>(c);
      }
    }
    if (c == '\n' && ++read_ > kLimit) return Status::TooLong;
    if (!word.empty()) words.push_back(std::move(word));
    if (!words.empty()) return Status::Line;
    if (c == EOF) {
      return std::ferror(stream_) != 0 ? Status::ReadError : Status::End;
    }
  }
}

}  // namespace kvelt::cli
