#include "settings/IniDocument.h"

#include <stdexcept>
#include <utility>

#include "settings/IniValue.h"

namespace kvelt {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

bool IsBlankLine(std::string_view content) { return TrimIniBlanks(content).empty(); }

// The name of the section a line starts, if it starts one.
std::optional<std::string_view> SectionNameOf(std::string_view content) {
  const std::string_view text = WithoutLeadingBlanks(content);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const std::string_view inside = text.substr(1);
  return TrimIniBlanks(inside.substr(0, inside.find(']')));
}

struct KeyLine {
  std::string_view Key;
  std::string_view Value;
};

std::optional<KeyLine> KeyLineOf(std::string_view content) {
  const std::string_view text = WithoutLeadingBlanks(content);
  if (text.empty() || text.front() == ';') return std::nullopt;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view key = TrimIniBlanks(text.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, TrimIniBlanks(text.substr(equals + 1))};
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

void CheckSectionName(std::string_view section) {
  if (section.empty() || TrimIniBlanks(section).size() != section.size() || HasLineBreak(section) ||
      section.find(']') != std::string_view::npos) {
    throw std::invalid_argument("INI section name cannot be stored: " + std::string(section));
  }
}

void CheckKeyName(std::string_view key) {
  if (key.empty() || TrimIniBlanks(key).size() != key.size() || HasLineBreak(key) ||
      key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';') {
    throw std::invalid_argument("INI key name cannot be stored: " + std::string(key));
  }
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    byteOrderMark_ = kByteOrderMark;
    text.remove_prefix(kByteOrderMark.size());
  }
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      lines_.push_back({std::string(text), std::string()});
      break;
    }
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    const std::size_t terminatorLength = crLf ? 2 : 1;
    lines_.push_back({std::string(text.substr(0, end)), std::string(text.substr(end, terminatorLength))});
    text.remove_prefix(end + terminatorLength);
  }
}

std::optional<IniDocument::SectionSpan> IniDocument::FindSection(std::string_view section) const {
  std::size_t header = 0;
  for (; header < lines_.size(); ++header) {
    const auto name = SectionNameOf(lines_[header].Content);
    if (name && EqualsNoCase(*name, section)) break;
  }
  if (header == lines_.size()) return std::nullopt;
  SectionSpan span{header, header};
  for (std::size_t i = header + 1; i < lines_.size() && !SectionNameOf(lines_[i].Content); ++i) {
    if (!IsBlankLine(lines_[i].Content)) span.LastValue = i;
  }
  return span;
}

std::optional<std::size_t> IniDocument::FindKeyLine(const SectionSpan& span, std::string_view key) const {
  for (std::size_t i = span.Header + 1; i <= span.LastValue; ++i) {
    const auto line = KeyLineOf(lines_[i].Content);
    if (line && EqualsNoCase(line->Key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section, std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) return std::nullopt;
  const auto index = FindKeyLine(*span, key);
  if (!index) return std::nullopt;
  return KeyLineOf(lines_[*index].Content)->Value;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  CheckSectionName(section);
  CheckKeyName(key);
  std::string content = std::string(key) + "=" + SanitizeIniValue(value);
  const auto span = FindSection(section);
  if (!span) {
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::move(content));
    return;
  }
  if (const auto index = FindKeyLine(*span, key)) {
    lines_[*index].Content = std::move(content);
  } else {
    InsertLine(span->LastValue + 1, std::move(content));
  }
}

void IniDocument::InsertLine(std::size_t index, std::string content) {
  const std::string terminator = NewLineTerminator();
  // Only the last line can lack a line end; the new line must not run into it.
  if (index > 0 && lines_[index - 1].Terminator.empty()) lines_[index - 1].Terminator = terminator;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), Line{std::move(content), terminator});
}

std::string IniDocument::NewLineTerminator() const {
  for (const Line& line : lines_) {
    if (!line.Terminator.empty()) return line.Terminator;
  }
  return "\n";
}

std::string IniDocument::Text() const {
  std::string text = byteOrderMark_;
  for (const Line& line : lines_) {
    text += line.Content;
    text += line.Terminator;
  }
  return text;
}

}  // namespace kvelt
