#include "platform/LongestTexts.h"

LongestTexts::LongestTexts(size_t columns, size_t capacity, const std::vector<bool>& fitted,
                           const Advances& advances)
    : columns_(columns),
      fitted_(fitted),
      capacity_(std::max<size_t>(capacity, 1)),
      advances_(advances),
      widest_(*std::max_element(advances.begin(), advances.end())),
      uniform_(std::all_of(advances.begin(), advances.end(),
                           [&](int a) { return a == advances.front(); })) {
  fitted_.resize(columns, false);
}

void LongestTexts::Offer(size_t column, const char* text, size_t length) {
  if (fitted_[column])
    return;
  std::vector<Entry>& kept = columns_[column];
  // A text that cannot beat the least kept one even at the widest advance is passed over before
  // its bytes are summed.
  auto most = static_cast<int64_t>(length) * widest_;
  if (kept.size() == capacity_ && most <= kept.front().bound)
    return;
  int64_t bound = most;
  if (!uniform_) {
    bound = 0;
    for (size_t i = 0; i < length; ++i)
      bound += advances_[static_cast<unsigned char>(text[i])];
  }
  Keep(kept, Entry{bound, text, length});
}

void LongestTexts::Keep(std::vector<Entry>& kept, const Entry& entry) const {
  // The heap's top is its narrowest bound, the first to make room for a wider one.
  if (kept.size() < capacity_) {
    kept.push_back(entry);
    std::push_heap(kept.begin(), kept.end(), Wider);
    return;
  }
  if (entry.bound <= kept.front().bound)
    return;
  std::pop_heap(kept.begin(), kept.end(), Wider);
  kept.back() = entry;
  std::push_heap(kept.begin(), kept.end(), Wider);
}

void LongestTexts::Merge(const LongestTexts& other) {
  for (size_t k = 0; k < columns_.size() && k < other.columns_.size(); ++k) {
    if (fitted_[k])
      continue;
    for (const Entry& entry : other.columns_[k])
      Keep(columns_[k], entry);
  }
}
