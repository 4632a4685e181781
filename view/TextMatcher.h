// The one match rule of Pick and Find: with exact on, the text equals the match ignoring case;
// with exact off, it contains the match ignoring case. Only A to Z fold; every other byte, those
// from 0x80 up included, must match exactly.
#pragma once

#include <cstddef>
#include <string>

class TextMatcher {
 public:
  TextMatcher(const char* match, bool exact);

  // Whether the text matches. `readable` is the end of the memory that the text lies in: the
  // search may read ahead of the text's end up to there, 32 bytes at a time.
  bool Matches(const char* text, const char* readable) const;

  // Whether this processor runs the 32-byte search; set false to check the byte-at-a-time one.
  static bool Wide();
  static void SetWide(bool wide);

 private:
  bool ContainsWide(const char* text, const char* readable) const;

  std::string match_;  // folded
  bool exact_;
};
