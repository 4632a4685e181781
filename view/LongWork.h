// One long command of the program: the window keeps being drawn while it runs, and the jobs that
// the command spreads over the cores report to the window's progress.
#pragma once

#include <cstddef>

#include "platform/WorkProgress.h"
#include "table/Workers.h"

class CWnd;

class LongWork : public Workers::Observer {
 public:
  explicit LongWork(CWnd& window) : progress_(window), outer_(Workers::Observe(this)) {}
  ~LongWork() { Workers::Observe(outer_); }
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  void PartsDone(size_t done, size_t parts) override { progress_.PartsDone(done, parts); }

 private:
  CWorkProgress progress_;
  Workers::Observer* outer_;
};
