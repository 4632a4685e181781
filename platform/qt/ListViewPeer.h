// A report-style list control: the column titles, one page of rows, and a scroll bar that moves
// through all items one item at a time. Its state is the platform list's; user actions go to the
// program as the window system's messages, and the platform's changes come back through
// ListChanged.
#pragma once

#include <QFrame>

#include "platform/Win32.h"
#include "platform/qt/ControlPeer.h"

class CListCtrl;
class ListModel;
class QKeyEvent;
class QScrollBar;
class QWheelEvent;
class RowTableView;

class ListViewPeer : public QFrame, public ControlPeer {
  Q_OBJECT

 public:
  ListViewPeer(CListCtrl& list, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  // Everything read again: columns, items, selection.
  void Sync() override;
  void ListChanged(ListChange what) override;
  void WorkChanged(bool running) override;

  ListModel& Model() const { return *model_; }
  RowTableView& View() const { return *view_; }
  QScrollBar& ScrollBar() const { return *scrollBar_; }
  // The item shown in the first row.
  int TopItem() const { return top_; }
  // The column whose title shows an arrow, or -1; *arrow is HDF_SORTUP or HDF_SORTDOWN.
  int ShownSortArrow(int* arrow) const;

  // What the user did.
  void UserKey(QKeyEvent* event);
  void UserClickRow(int row);
  void UserDoubleClickRow(int row);
  // The list's context menu, at `where` on the screen, after the row under it is selected.
  void UserRightClickRow(int row, const QPoint& where);
  void UserWheel(QWheelEvent* event);
  void ViewResized();

 private:
  void ColumnsChanged();
  void ItemsChanged();
  void SelectionChanged();
  void ShowSortArrow();
  // Scrolls so that `item` is shown whole.
  void Reveal(int item);
  void ScrollTo(int top);
  void Navigate(UINT virtualKey);
  // The page, the scroll bar and the selection, from the item count and the scroll position.
  void UpdatePage();
  void ApplyColumnWidths();
  void Feed(UINT message, WPARAM wParam, LPARAM lParam);

  CListCtrl& list_;
  ListModel* model_;
  RowTableView* view_;
  QScrollBar* scrollBar_;
  int top_ = 0;
  bool updating_ = false;
  bool columnsPending_ = false;
};
