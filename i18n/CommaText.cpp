#include "i18n/CommaText.h"

#include <cstddef>

namespace kvelt {

namespace {

constexpr char kQuote = '"';
constexpr char kDelimiter = ',';

// Blanks and the other control characters separate items unless quoted.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool NeedsQuotes(const std::string& item) {
  if (item.empty()) return true;
  for (const char c : item) {
    if (IsBlank(c) || c == kDelimiter || c == kQuote) return true;
  }
  return false;
}

void SkipBlanks(std::string_view text, std::size_t& i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
}

// Reads a quoted item starting at the opening quote; "" inside stands for one quote.
std::string ReadQuotedItem(std::string_view text, std::size_t& i) {
  std::string item;
  ++i;
  while (i < text.size()) {
    if (text[i] == kQuote) {
      if (i + 1 < text.size() && text[i + 1] == kQuote) {
        item.push_back(kQuote);
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    item.push_back(text[i++]);
  }
  return item;
}

}  // namespace

std::vector<std::string> ParseCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t i = 0;
  SkipBlanks(text, i);
  while (i < text.size()) {
    if (text[i] == kQuote) {
      items.push_back(ReadQuotedItem(text, i));
    } else {
      const std::size_t start = i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != kDelimiter) ++i;
      items.emplace_back(text.substr(start, i - start));
    }
    SkipBlanks(text, i);
    if (i < text.size() && text[i] == kDelimiter) {
      ++i;
      SkipBlanks(text, i);
    }
  }
  return items;
}

std::string ToCommaText(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t n = 0; n < items.size(); ++n) {
    if (n > 0) text.push_back(kDelimiter);
    const std::string& item = items[n];
    if (!NeedsQuotes(item)) {
      text += item;
      continue;
    }
    text.push_back(kQuote);
    for (const char c : item) {
      if (c == kQuote) text.push_back(kQuote);
      text.push_back(c);
    }
    text.push_back(kQuote);
  }
  return text;
}

}  // namespace kvelt
