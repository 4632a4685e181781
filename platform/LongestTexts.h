// Fitting a column to its widest text without measuring every text with the font. Each byte value
// has an advance (in 64ths of a pixel) that no character it is part of exceeds, so a text is at
// most as wide as the sum over its bytes rounded to a pixel; texts are measured in order of that
// bound, widest bound first, until the next bound cannot beat the widest text found.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Backend.h"
#include "platform/TextBound.h"

class LongestTexts {
 public:
  using Advances = TextBound::Advances;

  // Keeps, for each of `columns` columns, the `capacity` texts of the widest bound among those
  // offered. Columns that are already fitted take no texts.
  LongestTexts(size_t columns, size_t capacity, const std::vector<bool>& fitted,
               const Advances& advances);

  size_t Columns() const { return columns_.size(); }
  // How many texts a column keeps at most.
  size_t Capacity() const { return capacity_; }
  // An empty collection for the same columns, to collect over other items and Merge.
  LongestTexts Fresh() const {
    return LongestTexts(columns_.size(), capacity_, fitted_, bound_.advances());
  }
  // Whether texts of this column are wanted at all; a walk can skip the others.
  bool Wants(size_t column) const { return !fitted_[column]; }
  // Offers a text; `printable` when the caller knows that all its bytes are printable ASCII. Most
  // texts are no longer than the narrowest one kept, counted at the widest byte they may hold,
  // and are passed over by their length alone, as is an empty text, which widens nothing. Only for
  // the others is `nondigits` asked for a bit for each byte that is not a digit (a bit for a digit
  // too many is no fault): a text with few such bytes is summed by reading only them.
  template <class Nondigits>
  void Offer(size_t column, const char* text, size_t length, bool printable,
             Nondigits&& nondigits) {
    int64_t floor = floor_[column];
    if (length == 0 ||
        static_cast<int64_t>(length) * (printable ? bound_.WidestPrintable() : bound_.Widest()) <=
            floor)
      return;
    uint64_t shape = nondigits();
    int64_t bound = bound_.SumOfFew(text, length, shape);
    if (bound < 0)
      bound = bound_.Above(text, length, floor, last_[column]);
    if (bound > floor)
      Keep(column, Entry{bound, text, length});
  }
  void Offer(size_t column, const char* text, size_t length) {
    Offer(column, text, length, false, [] { return ~uint64_t{0}; });
  }
  // Takes in what another collection over other items kept.
  void Merge(const LongestTexts& other);

  // Measures the kept texts of every unfitted column in order of their bound, raising `widths`
  // (text widths without padding) to the widest found. A column is fitted when the next text's
  // bound cannot beat that width, or when every text it has was kept and measured.
  template <class Measure>
  void Fit(Measure&& measure, std::vector<int>& widths, std::vector<bool>& fitted) {
    for (size_t k = 0; k < columns_.size(); ++k) {
      if (fitted[k])
        continue;
      std::vector<Entry>& kept = columns_[k];
      std::sort(kept.begin(), kept.end(), Wider);
      bool bounded = false;
      for (const Entry& entry : kept) {
        if (Pixels(entry.bound) <= widths[k]) {
          bounded = true;
          break;
        }
        widths[k] = std::max(widths[k], measure(entry.text, entry.length));
      }
      fitted[k] = bounded || kept.size() < capacity_;
    }
  }

 private:
  struct Entry {
    int64_t bound;
    const char* text;
    size_t length;
  };
  static bool Wider(const Entry& a, const Entry& b) { return a.bound > b.bound; }
  // A sum of advances as the font rounds a whole text: to the nearest pixel.
  static int64_t Pixels(int64_t bound) {
    return (bound + Backend::kAdvanceUnits / 2) / Backend::kAdvanceUnits;
  }
  void Keep(size_t column, const Entry& entry);

  // Each column's kept texts, a min-heap on the bound while collecting.
  std::vector<std::vector<Entry>> columns_;
  // The bound a text must beat to be kept: the least kept bound once the heap is full, -1 before,
  // and more than any bound for a fitted column.
  std::vector<int64_t> floor_;
  std::vector<TextBound::Last> last_;
  std::vector<bool> fitted_;
  size_t capacity_;
  TextBound bound_;
};
