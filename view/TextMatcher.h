// The one match rule of Pick and Find: with exact on, the text equals the match ignoring case;
// with exact off, it contains the match ignoring case. Only A to Z fold; every other byte, those
// from 0x80 up included, must match exactly.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

class TextMatcher {
 public:
  // `readable` is memory that texts lie in: for a text inside it, the search may read ahead of the
  // text's end up to the end of it, 32 bytes at a time. Other texts are searched a byte at a time.
  TextMatcher(std::string_view match, bool exact, std::span<const char> readable = {});

  bool Matches(std::string_view text) const;

  // Whether this processor runs the 32-byte search; set false to check the byte-at-a-time one.
  static bool Wide();
  static void SetWide(bool wide);

 private:
  bool ContainsWide(std::string_view text, const char* readable) const;

  std::string match_;  // folded
  bool exact_;
  std::span<const char> readable_;
};
