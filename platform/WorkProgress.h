// Long work that one command does on the user-interface thread. While it runs, the window system
// keeps drawing the windows but takes none of the user's input: that waits until the work ends.
// Work that has run for about half a second shows how far it has come, over the window's list and,
// where the desktop has one, on the window's task bar button.
#pragma once

#include <chrono>
#include <cstddef>

class CWnd;

// When the progress shows and how full its bar is.
struct ProgressRule {
  using Clock = std::chrono::steady_clock;
  // Shorter work ends before anyone would look for a bar.
  static constexpr std::chrono::milliseconds kShowAfter{500};
  // The windows are drawn again at most this often while the work reports.
  static constexpr std::chrono::milliseconds kDrawEvery{40};
  static constexpr int kFull = 1000;

  static bool Shows(Clock::duration elapsed, Clock::duration showAfter = kShowAfter) {
    return elapsed >= showAfter;
  }
  // How full the bar is, out of kFull, when `jobsDone` jobs of the work have ended and the one
  // running has done `done` of its `parts`. How many jobs a command runs is not known ahead, so
  // each takes half of what is left of the bar: it always moves on, and never fills before the end.
  static int Filled(int jobsDone, size_t done, size_t parts);
};

class CWorkProgress {
 public:
  // The work begins: what waits to be drawn is drawn now, before it starts. Work begun inside
  // other work is part of it.
  explicit CWorkProgress(CWnd& window);
  ~CWorkProgress();
  CWorkProgress(const CWorkProgress&) = delete;
  CWorkProgress& operator=(const CWorkProgress&) = delete;

  // A job of the work has done `done` of its `parts`; each job ends with done == parts.
  void PartsDone(size_t done, size_t parts);

  // Whether work runs: a backend then feeds no user action to the program.
  static bool Running() { return current_ != nullptr; }
  // A modal window opens (a message box that the work ends with): the work is over as far as the
  // windows go, and the user acts again. Reports after it change nothing.
  static void EndForModal();
  // How long work runs before its progress shows, and how often it draws; for tests, which
  // cannot wait for work long enough. Zero: at once, every report.
  static void SetDelays(std::chrono::milliseconds showAfter, std::chrono::milliseconds drawEvery);

 private:
  static CWorkProgress* current_;
  static std::chrono::milliseconds showAfter_;
  static std::chrono::milliseconds drawEvery_;

  CWnd* window_ = nullptr;  // the top-level window; null for work inside other work
  ProgressRule::Clock::time_point begun_;
  ProgressRule::Clock::time_point drawn_;
  int jobsDone_ = 0;
  int shown_ = -1;  // the bar's fill as last shown; -1 while none shows
};
