// Spreading one job over the processor's cores. The program stays single-threaded for the user:
// a job's threads start and end within the call that runs it, so nothing runs while the user acts.
#pragma once

#include <cstddef>
#include <functional>

class Workers {
 public:
  // Hears how far each job has come, on the thread that set it and only for jobs that thread
  // runs: every few hundredths of a second while the parts run, and once with done == parts when
  // all are done.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void PartsDone(size_t done, size_t parts) = 0;
  };
  // The observer of the jobs to come, or null for none; returns the one it replaces.
  static Observer* Observe(Observer* observer);

  // How many threads a job uses: every core the machine has, unless set.
  static unsigned Count();
  // Sets how many threads a job uses; 0 goes back to every core. Results never depend on it, which
  // is what the tests check by running the same work with one thread and with several.
  static void SetCount(unsigned count);
  // Sets the least number of elements in a range of ForRange for every caller, 0 going back to
  // each caller's own; with 1, even a short job is cut in as many ranges as it can be, which is
  // what the tests use to check the seams between ranges.
  static void SetSmallestRange(size_t elements);

  // Calls work(part) once for each part in [0, parts), spread over the threads, and returns when
  // all are done. Parts are handed out in order as threads become free, so parts of unequal cost
  // balance out.
  static void ForEach(size_t parts, const std::function<void(size_t part)>& work);

  // Splits [0, count) into ranges of at least `grain` elements, a few per thread, and calls
  // work(begin, end) for each, spread over the threads.
  static void ForRange(size_t count, size_t grain,
                       const std::function<void(size_t begin, size_t end)>& work);
  // How many ranges ForRange would make: callers that keep one result per range size them by it.
  static size_t RangeCount(size_t count, size_t grain);
  // The bounds of range `index` of that many ranges over [0, count).
  static size_t RangeStart(size_t count, size_t ranges, size_t index);
};
