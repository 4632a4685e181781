// What a window shows while long work runs on the user-interface thread: its controls hold still,
// showing what they showed before, while the window's frame and menu bar are drawn as usual; once
// the work has run a while, a bar over the list shows how far it has come. What comes for the
// window meanwhile waits until the work ends, as input waits in the window system's queue.
#pragma once

#include <QFrame>
#include <vector>

#include "platform/Win32.h"

class QProgressBar;
class TopWindow;

class WorkOverlay : public QFrame {
 public:
  explicit WorkOverlay(TopWindow& window);

  void Follow(bool running);
  // Keeps a message for the window until the work ends.
  void Defer(const MSG& msg) { deferred_.push_back(msg); }
  // The bar's fill out of ProgressRule::kFull, or -1 to take it away.
  void ShowProgress(int filled);

 private:
  void Place();

  TopWindow& window_;
  QProgressBar* bar_;
  std::vector<MSG> deferred_;
};
