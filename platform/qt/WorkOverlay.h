// What a window shows while long work runs on the user-interface thread: its controls hold still,
// showing what they showed before, while the window's frame and menu bar are drawn as usual; once
// the work has run a while, a bar over the list shows how far it has come.
#pragma once

#include <QFrame>

class QProgressBar;
class TopWindow;

class WorkOverlay : public QFrame {
 public:
  explicit WorkOverlay(TopWindow& window);

  void Follow(bool running);
  // The bar's fill out of ProgressRule::kFull, or -1 to take it away.
  void ShowProgress(int filled);

 private:
  void Place();

  TopWindow& window_;
  QProgressBar* bar_;
};
