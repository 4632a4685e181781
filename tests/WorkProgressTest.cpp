// Long work: how full the progress bar is, when it shows, what the window is told, and how the
// jobs that the work spreads over the cores report to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "platform/Dialog.h"
#include "platform/WorkProgress.h"
#include "table/Workers.h"
#include "view/LongWork.h"

namespace {
using std::chrono::hours;
using std::chrono::milliseconds;

// A run of jobs, each with its parts, reported part by part: the bar moves on with every part,
// never goes back, and is not full until the work ends.
TEST(ProgressRule, TheBarMovesOnWithEveryPartAndFillsOnlyAtTheEnd) {
  const std::vector<std::vector<size_t>> kWorks = {
      {1}, {8}, {64, 64}, {3, 1, 1, 200, 7, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}};
  for (const std::vector<size_t>& jobs : kWorks) {
    int jobsDone = 0;
    int last = ProgressRule::Filled(0, 0, jobs.front());
    EXPECT_EQ(last, 0);
    for (size_t parts : jobs) {
      for (size_t done = 1; done <= parts; ++done) {
        int filled = ProgressRule::Filled(jobsDone, done, parts);
        EXPECT_GE(filled, last) << jobs.size() << " jobs, " << done << " of " << parts;
        EXPECT_LT(filled, ProgressRule::kFull);
        last = filled;
      }
      ++jobsDone;
    }
  }
}

// What a window is told of the work, in order: "work 1", "fill N", "draw", "work 0".
class RecordingBackend : public QuietBackend {
 public:
  void DrawPending(CWnd& /*window*/) override { told.push_back("draw"); }
  std::vector<std::string> told;
};

class Peer : public WindowPeer {
 public:
  explicit Peer(std::vector<std::string>& told) : told_(told) {}
  void WorkChanged(bool running) override { told_.push_back(running ? "work 1" : "work 0"); }
  void ProgressChanged(int filled) override {
    told_.push_back(filled < 0 ? "fill none" : filled == 500 ? "fill half" : "fill");
  }

 private:
  std::vector<std::string>& told_;
};

class WorkProgressTest : public ::testing::Test {
 protected:
  WorkProgressTest() : peer(backend.told) { window.peer = &peer; }
  ~WorkProgressTest() override {
    window.peer = nullptr;
    CWorkProgress::SetDelays(ProgressRule::kShowAfter, ProgressRule::kDrawEvery);
  }
  RecordingBackend backend;
  Peer peer;
  CWnd window;
};

TEST_F(WorkProgressTest, WorkShorterThanTheDelayDrawsButShowsNoBar) {
  CWorkProgress::SetDelays(hours(1), milliseconds(0));
  {
    CWorkProgress work(window);
    EXPECT_TRUE(CWorkProgress::Running());
    work.PartsDone(1, 2);
    work.PartsDone(2, 2);
  }
  EXPECT_FALSE(CWorkProgress::Running());
  EXPECT_EQ(backend.told, (std::vector<std::string>{"draw", "work 1", "draw", "draw", "work 0"}));
}

TEST_F(WorkProgressTest, LongWorkShowsItsBarUntilItEndsOrAModalWindowOpens) {
  CWorkProgress::SetDelays(milliseconds(0), milliseconds(0));
  {
    CWorkProgress work(window);
    // Work begun inside the work is part of it: it neither begins nor ends anything.
    {
      CWorkProgress inner(window);
      inner.PartsDone(1, 1);
    }
    work.PartsDone(1, 2);
  }
  EXPECT_EQ(backend.told, (std::vector<std::string>{"draw", "work 1", "fill half", "draw", "fill",
                                                    "draw", "fill none", "work 0"}));
  backend.told.clear();
  {
    CWorkProgress work(window);
    work.PartsDone(0, 1);
    CWorkProgress::EndForModal();
    EXPECT_FALSE(CWorkProgress::Running());
    work.PartsDone(1, 1);
  }
  EXPECT_EQ(backend.told,
            (std::vector<std::string>{"draw", "work 1", "fill", "draw", "fill none", "work 0"}));
}

// The jobs report on the thread that watches them, part by part, each ending with all its parts
// done; a job that one of their threads starts reports to nobody.
TEST_F(WorkProgressTest, JobsReportTheirPartsToTheThreadThatWatches) {
  struct Watcher : Workers::Observer {
    void PartsDone(size_t done, size_t parts) override {
      if (std::this_thread::get_id() != watching)
        ++elsewhere;
      reports.emplace_back(done, parts);
    }
    std::thread::id watching = std::this_thread::get_id();
    std::atomic<int> elsewhere{0};
    std::vector<std::pair<size_t, size_t>> reports;
  } watcher;
  for (unsigned threads : {1u, 4u}) {
    Workers::SetCount(threads);
    watcher.reports.clear();
    Workers::Observer* outer = Workers::Observe(&watcher);
    std::atomic<size_t> ran{0};
    Workers::ForEach(6, [&](size_t) { Workers::ForEach(3, [&](size_t) { ++ran; }); });
    Workers::Observe(outer);
    EXPECT_EQ(ran, 18u);
    EXPECT_EQ(watcher.elsewhere, 0) << threads << " threads";
    ASSERT_FALSE(watcher.reports.empty());
    EXPECT_EQ(watcher.reports.back(), (std::pair<size_t, size_t>{6, 6})) << threads << " threads";
    // With one thread the inner jobs run on the watching thread too, and report as jobs of their
    // own; the outer job's reports only grow.
    size_t last = 0;
    for (auto [done, parts] : watcher.reports) {
      if (parts != 6)
        continue;
      EXPECT_GE(done, last);
      last = done;
    }
  }
  Workers::SetCount(0);
}

// The work of a command reaches the window through its jobs.
TEST_F(WorkProgressTest, ACommandsJobsFillTheWindowsBar) {
  CWorkProgress::SetDelays(milliseconds(0), milliseconds(0));
  {
    LongWork work(window);
    Workers::ForEach(2, [](size_t) {});
  }
  EXPECT_NE(std::find(backend.told.begin(), backend.told.end(), "fill half"), backend.told.end());
  EXPECT_EQ(backend.told.back(), "work 0");
}
}  // namespace
