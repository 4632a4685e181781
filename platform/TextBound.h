// The bound of a text's width that a column's fit sorts its texts by: the sum of its bytes'
// advances (LongestTexts). A fit offers it every text of a column that is long enough to beat the
// texts kept already; most of those cannot, and they are told apart from the others by counts of
// kinds of bytes, 32 bytes at a time where the processor can. Only the rest are summed byte by
// byte. In most fonts the ten digits are equally wide, so a text's digits are summed by counting
// them: a caller that knows which bytes are not digits has a number or a code summed from those
// alone, and a text shaped as the one before (the same bytes but for other digits) has its sum.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

class TextBound {
 public:
  using Advances = std::array<int, 256>;

  // The last text of a column summed: a text of the same length whose bytes differ from it only
  // where both hold digits has the same sum, as the digits of the column's numbers mostly do.
  // Only a text that could be loaded whole (32 bytes, in its page) is kept as the last.
  struct Last {
    const char* text = nullptr;
    size_t length = 0;
    int64_t sum = 0;
    uint32_t digits = 0;  // one bit for each byte that is a digit
  };

  explicit TextBound(const Advances& advances);

  // The sum of the text's advances, or -1 when it cannot exceed `floor`.
  int64_t Above(const char* text, size_t length, int64_t floor, Last& last) const {
    return (this->*above_)(text, length, floor, last);
  }
  int64_t Sum(const char* text, size_t length) const;
  // The sum of a text from `nondigits`, a bit for each of its bytes that is not a digit (or more
  // bits, none past the text), reading only those bytes; -1 when there are too many of them to be
  // worth it, or when the digits are not all equally wide.
  int64_t SumOfFew(const char* text, size_t length, uint64_t nondigits) const {
    auto few = static_cast<size_t>(std::popcount(nondigits));
    if (digit_ < 0 || few > kFewBytes)
      return -1;
    int64_t sum = static_cast<int64_t>(length - few) * digit_;
    for (; nondigits; nondigits &= nondigits - 1)
      sum += advances_[static_cast<unsigned char>(text[std::countr_zero(nondigits)])];
    return sum;
  }

  const Advances& advances() const { return advances_; }
  // The largest advance of any byte.
  int64_t Widest() const { return widest_; }
  // The largest advance of a printable ASCII byte (0x20 to 0x7E).
  int64_t WidestPrintable() const { return widestPrintable_; }

 private:
  static constexpr size_t kFewBytes = 6;
  // A bound of a text from how many of its bytes are digits, how many are slim (lowercase ASCII
  // letters but m and w, and the space) and how many lie outside printable ASCII.
  int64_t Most(size_t length, size_t digits, size_t slims, size_t others) const {
    return static_cast<int64_t>(digits) * widestDigit_ + static_cast<int64_t>(slims) * widestSlim_ +
           static_cast<int64_t>(others) * widestOther_ +
           static_cast<int64_t>(length - digits - slims - others) * widestPrintable_;
  }
  int64_t AboveNarrow(const char* text, size_t length, int64_t floor, Last& last) const;
  int64_t AboveWide(const char* text, size_t length, int64_t floor, Last& last) const;
  int64_t AboveLong(const char* text, size_t length, int64_t floor) const;

  int64_t (TextBound::*above_)(const char*, size_t, int64_t, Last&) const = &TextBound::AboveNarrow;
  Advances advances_;
  int64_t widest_ = 0;
  bool uniform_ = false;
  // The largest advance of a printable ASCII byte (0x20 to 0x7E), and of any other byte.
  int64_t widestPrintable_ = 0;
  int64_t widestOther_ = 0;
  int64_t widestDigit_ = 0;
  int64_t widestSlim_ = 0;
  // The advance of every digit, when they all have the same one; -1 otherwise.
  int64_t digit_ = -1;
};
