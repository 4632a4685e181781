// The one match rule of Pick and Find: with exact on, the text equals a match ignoring case; with
// exact off, it contains one ignoring case. Only A to Z fold; every other byte, those from 0x80 up
// included, must match exactly. A match comes in one or more forms of bytes (what the user typed,
// in each encoding a file may hold it in), and a text matches when it matches any of them.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TextMatcher {
 public:
  // `forms` each end at their first NUL. `readable` is memory that texts lie in: for a text inside
  // it, the search may read past the text's end up to the end of it, 32 bytes at a time. Other
  // texts are searched a byte at a time.
  TextMatcher(const std::vector<std::string>& forms, bool exact,
              std::span<const char> readable = {});

  // Whether the text, its bytes as given, matches one of the forms.
  bool Matches(std::string_view text) const;

  // Whether this processor runs the 32-byte search; set false to check the byte-at-a-time one.
  static bool Wide();
  static void SetWide(bool wide);

 private:
  bool MatchesForm(std::string_view text, const std::string& form) const;
  bool ContainsWide(std::string_view text, const std::string& form) const;

  std::vector<std::string> forms_;  // folded
  bool exact_;
  std::span<const char> readable_;
};
