// A window's menu bar, built from the platform menu. A pick reaches the window's dialog as the
// menu command; the check marks show what the platform menu holds.
#pragma once

#include <QMenuBar>

class CMenu;
class QMenu;
class TopWindow;

class MenuBar : public QMenuBar {
 public:
  MenuBar(TopWindow& window, const CMenu& menu);

  // The check marks as `menu` has them.
  void ShowChecks(const CMenu& menu);
  // The height the bar takes in a window `width` pixels wide.
  int HeightFor(int width) const;

 protected:
  // A right-click in the part that holds no menu opens the window's system menu.
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Fill(QMenu* into, const CMenu& menu);

  TopWindow& window_;
};
