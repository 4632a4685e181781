#include "platform/LongestTexts.h"

#include <limits>

LongestTexts::LongestTexts(size_t columns, size_t capacity, const std::vector<bool>& fitted,
                           const Advances& advances)
    : columns_(columns),
      floor_(columns, -1),
      last_(columns),
      fitted_(fitted),
      capacity_(std::max<size_t>(capacity, 1)),
      bound_(advances) {
  fitted_.resize(columns, false);
  for (size_t k = 0; k < columns; ++k) {
    if (fitted_[k])
      floor_[k] = std::numeric_limits<int64_t>::max();
  }
}

void LongestTexts::Keep(size_t column, const Entry& entry) {
  std::vector<Entry>& kept = columns_[column];
  // The heap's top is its narrowest bound, the first to make room for a wider one.
  if (entry.bound <= floor_[column])
    return;
  if (kept.size() == capacity_) {
    std::pop_heap(kept.begin(), kept.end(), Wider);
    kept.back() = entry;
  } else {
    kept.push_back(entry);
  }
  std::push_heap(kept.begin(), kept.end(), Wider);
  if (kept.size() == capacity_)
    floor_[column] = kept.front().bound;
}

void LongestTexts::Merge(const LongestTexts& other) {
  for (size_t k = 0; k < columns_.size() && k < other.columns_.size(); ++k) {
    if (fitted_[k])
      continue;
    for (const Entry& entry : other.columns_[k])
      Keep(k, entry);
  }
}
