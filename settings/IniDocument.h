#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvelt {

// The text of an INI file held line by line, so that a change touches only the
// line of its key and every other byte is kept as it was.
//
// Layout read:
// - Lines end with LF, CR LF or a lone CR; a UTF-8 byte order mark before the
//   first line is skipped.
// - A line whose first non-blank character is '[' starts a section; its name runs
//   to the next ']' (or the line end), blanks around it ignored. Only the first
//   section of a name counts; later ones of the same name are ignored.
// - Inside a section, a line with '=' is a key: the key is the text before the
//   first '=', the value the text after it, both without surrounding spaces and
//   tabs (so blanks at either end of a stored value do not survive). Lines
//   starting with ';' are comments; other lines and lines before the first
//   section are ignored. The first line of a key counts.
// - Section and key names compare case-insensitively (ASCII letters).
//
// Layout written: a changed key line becomes "Key=value" in place, keeping its
// line end; a new key goes after the last non-blank line of its section; a new
// section goes at the end of the text. New lines take the line end of the first
// line that has one, or LF.
class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string_view text);

  // The raw value of the key (blanks trimmed, bytes as stored), or nothing.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // Stores value under the key; CR and LF in value become blanks. Throws
  // std::invalid_argument for a section or key name the layout cannot hold.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;

 private:
  struct Line {
    std::string Content;     // without its line end
    std::string Terminator;  // "\n", "\r\n", "\r" or "" for a last line without one
  };
  struct SectionSpan {
    std::size_t Header;     // index of the section line
    std::size_t LastValue;  // last non-blank line of the section (the header if none)
  };

  std::optional<SectionSpan> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKeyLine(const SectionSpan& span, std::string_view key) const;
  void InsertLine(std::size_t index, std::string content);
  std::string NewLineTerminator() const;

  std::string byteOrderMark_;
  std::vector<Line> lines_;
};

}  // namespace kvelt
