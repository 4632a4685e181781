// Takes files dropped on a window from the desktop while the window's platform state says it
// accepts them (WS_EX_ACCEPTFILES), and hands them to the window as WM_DROPFILES. A window that a
// modal window of its own blocks refuses them, as a disabled window does.
#pragma once

#include <QObject>

class TopWindow;

class FileDropTarget : public QObject {
 public:
  explicit FileDropTarget(TopWindow& window);

  // Follows the window's style: takes drops from now on, or no longer.
  void Follow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Takes() const;

  TopWindow& window_;
};
