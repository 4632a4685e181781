#include "platform/WorkProgress.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/Backend.h"
#include "platform/Wnd.h"

CWorkProgress* CWorkProgress::current_ = nullptr;
std::chrono::milliseconds CWorkProgress::showAfter_ = ProgressRule::kShowAfter;
std::chrono::milliseconds CWorkProgress::drawEvery_ = ProgressRule::kDrawEvery;

int ProgressRule::Filled(int jobsDone, size_t done, size_t parts) {
  double left = std::ldexp(1.0, -std::max(jobsDone, 0));
  double ofJob = parts == 0 ? 1.0 : static_cast<double>(std::min(done, parts)) / parts;
  return static_cast<int>(kFull * (1.0 - left * (1.0 - ofJob / 2)));
}

namespace {
CWnd& TopLevel(CWnd& window) {
  CWnd* top = &window;
  while ((top->GetStyle() & WS_CHILD) && top->GetParent())
    top = top->GetParent();
  return *top;
}
}  // namespace

CWorkProgress::CWorkProgress(CWnd& window) {
  if (current_)
    return;
  current_ = this;
  window_ = &TopLevel(window);
  begun_ = drawn_ = ProgressRule::Clock::now();
  Backend& backend = CurrentBackend();
  backend.DrawPending(*window_);
  backend.Show(*window_, &WindowPeer::WorkChanged, true);
}

CWorkProgress::~CWorkProgress() {
  if (current_ == this)
    EndForModal();
}

void CWorkProgress::EndForModal() {
  CWorkProgress* work = std::exchange(current_, nullptr);
  if (!work)
    return;
  CWnd& window = *work->window_;
  Backend& backend = CurrentBackend();
  if (work->shown_ >= 0)
    backend.Show(window, &WindowPeer::ProgressChanged, -1);
  backend.Show(window, &WindowPeer::WorkChanged, false);
}

void CWorkProgress::PartsDone(size_t done, size_t parts) {
  if (current_ != this) {
    if (current_)
      current_->PartsDone(done, parts);
    return;
  }
  int filled = ProgressRule::Filled(jobsDone_, done, parts);
  if (done >= parts)
    ++jobsDone_;
  ProgressRule::Clock::time_point now = ProgressRule::Clock::now();
  if (now - drawn_ < drawEvery_)
    return;
  drawn_ = now;
  Backend& backend = CurrentBackend();
  if (ProgressRule::Shows(now - begun_, showAfter_) && filled != shown_) {
    shown_ = filled;
    backend.Show(*window_, &WindowPeer::ProgressChanged, filled);
  }
  backend.DrawPending(*window_);
}

void CWorkProgress::SetDelays(std::chrono::milliseconds showAfter,
                              std::chrono::milliseconds drawEvery) {
  showAfter_ = showAfter;
  drawEvery_ = drawEvery;
}
