#include "table/Workers.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {
unsigned chosenCount = 0;
size_t chosenGrain = 0;

// More ranges than threads, so that a thread slowed down by another program on the machine does
// not hold up the whole job.
constexpr size_t kRangesPerThread = 8;
}  // namespace

unsigned Workers::Count() {
  if (chosenCount != 0)
    return chosenCount;
  static const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  return cores;
}

void Workers::SetCount(unsigned count) {
  chosenCount = count;
}

void Workers::SetSmallestRange(size_t elements) {
  chosenGrain = elements;
}

void Workers::ForEach(size_t parts, const std::function<void(size_t part)>& work) {
  size_t threads = std::min<size_t>(Count(), parts);
  if (threads <= 1) {
    for (size_t part = 0; part < parts; ++part)
      work(part);
    return;
  }
  std::atomic<size_t> next{0};
  auto run = [&] {
    for (size_t part; (part = next.fetch_add(1, std::memory_order_relaxed)) < parts;)
      work(part);
  };
  std::vector<std::thread> helpers;
  helpers.reserve(threads - 1);
  for (size_t t = 1; t < threads; ++t)
    helpers.emplace_back(run);
  run();
  for (std::thread& helper : helpers)
    helper.join();
}

size_t Workers::RangeCount(size_t count, size_t grain) {
  if (count == 0)
    return 0;
  size_t most = Count() == 1 ? 1 : Count() * kRangesPerThread;
  if (chosenGrain != 0)
    grain = chosenGrain;
  return std::clamp<size_t>(count / std::max<size_t>(grain, 1), 1, most);
}

size_t Workers::RangeStart(size_t count, size_t ranges, size_t index) {
  // count * index may not fit for huge counts; split the product.
  return count / ranges * index + count % ranges * index / ranges;
}

void Workers::ForRange(size_t count, size_t grain,
                       const std::function<void(size_t begin, size_t end)>& work) {
  size_t ranges = RangeCount(count, grain);
  ForEach(ranges,
          [&](size_t r) { work(RangeStart(count, ranges, r), RangeStart(count, ranges, r + 1)); });
}
