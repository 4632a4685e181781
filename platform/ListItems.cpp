#include "platform/ListItems.h"

#include <limits>

bool ListItems::Fits(LPARAM value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

// A run can grow at its end, and shrink at either end, and stay a run.
bool ListItems::insert(size_t i, LPARAM value) {
  if (!Fits(value))
    return false;
  if (run_ && i == runCount_ &&
      (runCount_ == 0 ||
       value == static_cast<LPARAM>(runFirst_) + static_cast<LPARAM>(runCount_))) {
    if (runCount_ == 0)
      runFirst_ = static_cast<int32_t>(value);
    ++runCount_;
    return true;
  }
  return Store() && stored_.insert(i, static_cast<int32_t>(value));
}

bool ListItems::erase(size_t i) {
  if (!run_ || (i != 0 && i + 1 != runCount_)) {
    if (!Store())
      return false;
    stored_.erase(i);
    return true;
  }
  if (i == 0)
    ++runFirst_;
  --runCount_;
  return true;
}

void ListItems::clear() {
  stored_.clear();
  run_ = true;
  runFirst_ = 0;
  runCount_ = 0;
}

bool ListItems::reserve(size_t count) {
  return run_ || stored_.reserve(count);
}

bool ListItems::AppendRun(LPARAM first, size_t count) {
  if (count == 0)
    return true;
  LPARAM last = first + static_cast<LPARAM>(count) - 1;
  if (!Fits(first) || count > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
      !Fits(last) || last < first)
    return false;
  if (run_ && (runCount_ == 0 ||
               first == static_cast<LPARAM>(runFirst_) + static_cast<LPARAM>(runCount_))) {
    if (runCount_ == 0)
      runFirst_ = static_cast<int32_t>(first);
    runCount_ += count;
    return true;
  }
  if (!Store())
    return false;
  std::span<int32_t> slots = stored_.Append(count);
  if (slots.empty())
    return false;
  for (size_t i = 0; i < count; ++i)
    slots[i] = static_cast<int32_t>(first + static_cast<LPARAM>(i));
  return true;
}

bool ListItems::Keep(const std::vector<uint8_t>& keep) {
  if (!run_) {
    stored_.EraseUnless([&](size_t i) { return i >= keep.size() || keep[i] != 0; });
    return true;
  }
  // Only the kept items are stored: Pick usually keeps few of many.
  size_t kept = 0;
  for (size_t i = 0; i < runCount_; ++i)
    kept += i >= keep.size() || keep[i] != 0;
  GapVector<int32_t> values;
  std::span<int32_t> slots = values.Append(kept);
  if (kept != 0 && slots.empty())
    return false;
  size_t at = 0;
  for (size_t i = 0; i < runCount_; ++i) {
    if (i >= keep.size() || keep[i] != 0)
      slots[at++] = static_cast<int32_t>(runFirst_ + static_cast<int64_t>(i));
  }
  stored_.Swap(values);
  run_ = false;
  return true;
}

bool ListItems::Store() {
  if (!run_)
    return true;
  std::span<int32_t> slots = stored_.Append(runCount_);
  if (runCount_ != 0 && slots.empty())
    return false;
  for (size_t i = 0; i < runCount_; ++i)
    slots[i] = static_cast<int32_t>(runFirst_ + static_cast<int64_t>(i));
  run_ = false;
  return true;
}

std::span<int32_t> ListItems::Stored() {
  if (!Store())
    return {};
  return stored_.Contiguous();
}

ListItemView ListItems::View() {
  if (run_)
    return ListItemView(nullptr, runFirst_, runCount_);
  std::span<int32_t> all = stored_.Contiguous();
  return ListItemView(all.data(), 0, all.size());
}
