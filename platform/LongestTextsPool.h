// Collections of longest texts for a walk spread over threads. Each range of the walk takes one,
// fills it and gives it back, so that a thread's collection keeps the floors it has raised from
// range to range: a fresh collection keeps every text until it is full, and a walk in many ranges
// would otherwise sum the bytes of far more texts.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/LongestTexts.h"

class LongestTextsPool {
 public:
  // Collections for the columns of `like`, empty.
  explicit LongestTextsPool(const LongestTexts& like) : empty_(like.Fresh()) {}

  std::unique_ptr<LongestTexts> Take();
  void Give(std::unique_ptr<LongestTexts> texts);
  // Takes what every collection kept into `into`, and empties the pool.
  void MergeInto(LongestTexts& into);

 private:
  const LongestTexts empty_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<LongestTexts>> idle_;
};
