// A report-style list control: the column titles, one page of rows, and a scroll bar that moves
// through all items one item at a time. Its state is the platform list's; user actions go to the
// program as the window system's messages, and the platform's changes come back through
// ItemsChanged, ColumnsChanged, SelectionChanged and Reveal.
#pragma once

#include <QFrame>

#include "platform/Backend.h"

class CListCtrl;
class ListModel;
class QKeyEvent;
class QScrollBar;
class QWheelEvent;
class RowTableView;
class TopWindow;

class ListControl : public QFrame {
 public:
  // The control `index` of `window`'s dialog.
  ListControl(TopWindow& window, int index, QWidget* parent);

  // The platform list as it is now, or null once the dialog is gone.
  CListCtrl* List() const;
  ListModel& Model() const { return *model_; }
  RowTableView& View() const { return *view_; }
  QScrollBar& ScrollBar() const { return *scrollBar_; }
  // The item shown in the first row.
  int TopItem() const { return top_; }

  // What the platform changed.
  void Changed(ListChange what);
  // Everything read again: columns, items, selection.
  void SyncAll();

  // What the user did.
  void UserKey(QKeyEvent* event);
  void UserClickRow(int row);
  void UserWheel(QWheelEvent* event);
  void ViewResized();

 private:
  void ColumnsChanged();
  void ItemsChanged();
  void SelectionChanged();
  // Scrolls so that `item` is shown whole.
  void Reveal(int item);
  void ScrollTo(int top);
  void Navigate(UINT virtualKey);
  // The page, the scroll bar and the selection, from the item count and the scroll position.
  void UpdatePage();
  void ApplyColumnWidths();
  void Feed(UINT message, WPARAM wParam, LPARAM lParam, bool ctrl = false);

  TopWindow& window_;
  int index_;
  ListModel* model_;
  RowTableView* view_;
  QScrollBar* scrollBar_;
  int top_ = 0;
  bool updating_ = false;
};
