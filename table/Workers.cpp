#include "table/Workers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {
unsigned chosenCount = 0;
size_t chosenGrain = 0;

// More ranges than threads, so that a thread slowed down by another program on the machine does
// not hold up the whole job.
constexpr size_t kRangesPerThread = 8;

// How often an observed job reports while its parts run.
constexpr std::chrono::milliseconds kReportEvery{20};

Workers::Observer* observer = nullptr;
std::thread::id observerThread;

// The job's observer, when the job runs on the thread that set it.
Workers::Observer* ObserverHere() {
  return observer && std::this_thread::get_id() == observerThread ? observer : nullptr;
}

// Runs the job's parts on `threads` threads of their own while the calling thread reports how
// many are done, so that it can draw the windows meanwhile.
void RunObserved(size_t parts, size_t threads, const std::function<void(size_t part)>& work,
                 Workers::Observer& watcher) {
  std::atomic<size_t> next{0};
  size_t done = 0;
  std::mutex mutex;
  std::condition_variable finished;
  auto run = [&] {
    for (size_t part; (part = next.fetch_add(1, std::memory_order_relaxed)) < parts;) {
      work(part);
      std::lock_guard<std::mutex> lock(mutex);
      if (++done == parts)
        finished.notify_one();
    }
  };
  std::vector<std::thread> helpers;
  helpers.reserve(threads);
  for (size_t t = 0; t < threads; ++t)
    helpers.emplace_back(run);
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex);
    finished.wait_for(lock, kReportEvery, [&] { return done == parts; });
    size_t now = done;
    lock.unlock();
    if (now == parts)
      break;
    watcher.PartsDone(now, parts);
  }
  for (std::thread& helper : helpers)
    helper.join();
  watcher.PartsDone(parts, parts);
}
}  // namespace

Workers::Observer* Workers::Observe(Observer* watcher) {
  Observer* previous = observer;
  observer = watcher;
  observerThread = std::this_thread::get_id();
  return previous;
}

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
  Observer* watcher = ObserverHere();
  if (threads <= 1) {
    for (size_t part = 0; part < parts; ++part) {
      work(part);
      if (watcher)
        watcher->PartsDone(part + 1, parts);
    }
    return;
  }
  if (watcher) {
    RunObserved(parts, threads, work, *watcher);
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
