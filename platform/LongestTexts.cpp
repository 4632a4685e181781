#include "platform/LongestTexts.h"

#include <algorithm>

namespace {
// The heap's top is its shortest text, the first to make room for a longer one.
bool Longer(const std::pair<size_t, const char*>& a, const std::pair<size_t, const char*>& b) {
  return a.first > b.first;
}
}  // namespace

LongestTexts::LongestTexts(size_t columns, size_t capacity, const std::vector<bool>& fitted)
    : columns_(columns), fitted_(fitted), capacity_(std::max<size_t>(capacity, 1)) {
  fitted_.resize(columns, false);
}

void LongestTexts::Offer(size_t column, const char* text, size_t length) {
  if (fitted_[column])
    return;
  std::vector<Entry>& kept = columns_[column];
  if (kept.size() < capacity_) {
    kept.emplace_back(length, text);
    std::push_heap(kept.begin(), kept.end(), Longer);
    return;
  }
  if (length <= kept.front().first)
    return;
  std::pop_heap(kept.begin(), kept.end(), Longer);
  kept.back() = {length, text};
  std::push_heap(kept.begin(), kept.end(), Longer);
}

void LongestTexts::Merge(const LongestTexts& other) {
  for (size_t k = 0; k < columns_.size() && k < other.columns_.size(); ++k) {
    for (const auto& [length, text] : other.columns_[k])
      Offer(k, text, length);
  }
}

void LongestTexts::SortLongestFirst(std::vector<Entry>& entries) {
  std::sort(entries.begin(), entries.end(), Longer);
}
