// Fitting a column to its widest text without measuring every text with the font. A text of n
// bytes is at most n times the widest advance of one byte wide, so texts are measured in order of
// that bound, longest first, until the bound of the next one cannot beat the widest found.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

class LongestTexts {
 public:
  // Keeps, for each of `columns` columns, the `capacity` texts longest in bytes among those
  // offered. Columns that are already fitted take no texts.
  LongestTexts(size_t columns, size_t capacity, const std::vector<bool>& fitted);

  size_t Columns() const { return columns_.size(); }
  // An empty collection for the same columns, to collect over other items and Merge.
  LongestTexts Fresh() const { return LongestTexts(columns_.size(), capacity_, fitted_); }
  // Whether texts of this column are wanted at all; a walk can skip the others.
  bool Wants(size_t column) const { return !fitted_[column]; }
  void Offer(size_t column, const char* text, size_t length);
  // Takes in what another collection over other items kept.
  void Merge(const LongestTexts& other);

  // Measures the kept texts of every unfitted column in order of their bound, raising `widths`
  // (text widths without padding) to the widest found. A column is fitted when the next text's
  // bound cannot beat that width, or when every text it has was kept and measured.
  template <class Measure>
  void Fit(int byteAdvance, Measure&& measure, std::vector<int>& widths,
           std::vector<bool>& fitted) {
    for (size_t k = 0; k < columns_.size(); ++k) {
      if (fitted[k])
        continue;
      std::vector<Entry>& kept = columns_[k];
      SortLongestFirst(kept);
      bool bounded = false;
      for (const auto& [length, text] : kept) {
        if (static_cast<long long>(length) * byteAdvance <= widths[k]) {
          bounded = true;
          break;
        }
        widths[k] = std::max(widths[k], measure(text, length));
      }
      fitted[k] = bounded || kept.size() < capacity_;
    }
  }

 private:
  using Entry = std::pair<size_t, const char*>;
  static void SortLongestFirst(std::vector<Entry>& entries);

  // Each column's kept texts, a min-heap on length while collecting.
  std::vector<std::vector<Entry>> columns_;
  std::vector<bool> fitted_;
  size_t capacity_;
};
