#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ascii_case.h"

namespace tolvaren {

// An ordered list of byte strings that allows duplicates.
class StringList {
 public:
  void Add(std::string text) { items_.push_back(std::move(text)); }
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Items() const { return items_; }

  // Position of the first item equal to text, ignoring ASCII case; -1 when none.
  int IndexOf(std::string_view text) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (EqualIgnoringAsciiCase(items_[i], text)) return static_cast<int>(i);
    }
    return -1;
  }

  // The items joined by ","; an item holding a double quote, a comma or a
  // byte of 1 to 32 is quoted, its inner quotes doubled. A list of one empty
  // item gives "\"\"", so it stays distinguishable from an empty list.
  std::string CommaText() const {
    if (items_.size() == 1 && items_[0].empty()) return "\"\"";
    std::string text;
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (i > 0) text += ',';
      text += NeedsQuotes(items_[i]) ? Quoted(items_[i]) : items_[i];
    }
    return text;
  }

  // Adds the pieces of a text cut at every comma, as they stand: no quoting,
  // no trimming, and an empty text is one empty piece.
  void AddCommaPieces(std::string_view text) {
    for (std::size_t comma; (comma = text.find(',')) != std::string_view::npos; text.remove_prefix(comma + 1)) {
      Add(std::string(text.substr(0, comma)));
    }
    Add(std::string(text));
  }

  // Replaces the items with those of a comma text: commas and blanks (bytes
  // 1 to 32) separate items, double quotes group, a doubled quote inside
  // quotes stands for one, and a comma at the very end adds an empty item.
  void SetCommaText(std::string_view text) {
    items_.clear();
    std::size_t pos = 0;
    const auto blank = [&](std::size_t at) { return at < text.size() && IsBlank(text[at]); };
    while (blank(pos)) ++pos;
    while (pos < text.size()) {
      std::string item;
      if (text[pos] == '"') {
        ++pos;
        while (pos < text.size()) {
          if (text[pos] == '"') {
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
              item += '"';
              pos += 2;
              continue;
            }
            ++pos;
            break;
          }
          item += text[pos++];
        }
      } else {
        while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != ',') item += text[pos++];
      }
      items_.push_back(std::move(item));
      while (blank(pos)) ++pos;
      if (pos < text.size() && text[pos] == ',') {
        if (pos + 1 == text.size()) items_.emplace_back();
        ++pos;
        while (blank(pos)) ++pos;
      }
    }
  }

 private:
  static bool IsBlank(char c) { return c != 0 && static_cast<unsigned char>(c) <= ' '; }

  static bool NeedsQuotes(const std::string& item) {
    return std::any_of(item.begin(), item.end(), [](char c) { return c == '"' || c == ',' || IsBlank(c); });
  }

  static std::string Quoted(const std::string& item) {
    std::string text = "\"";
    for (const char c : item) {
      if (c == '"') text += '"';
      text += c;
    }
    return text + '"';
  }

  std::vector<std::string> items_;
};

}  // namespace tolvaren
