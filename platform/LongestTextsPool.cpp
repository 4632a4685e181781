#include "platform/LongestTextsPool.h"

std::unique_ptr<LongestTexts> LongestTextsPool::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (idle_.empty())
    return std::make_unique<LongestTexts>(empty_);
  std::unique_ptr<LongestTexts> texts = std::move(idle_.back());
  idle_.pop_back();
  return texts;
}

void LongestTextsPool::Give(std::unique_ptr<LongestTexts> texts) {
  std::lock_guard<std::mutex> lock(mutex_);
  idle_.push_back(std::move(texts));
}

void LongestTextsPool::MergeInto(LongestTexts& into) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const std::unique_ptr<LongestTexts>& texts : idle_)
    into.Merge(*texts);
  idle_.clear();
}
