// What a backend keeps for one window that it shows: the widget, or whatever else it draws with.
// Each change of the window's state reaches it through Backend::Show; the platform only holds it.
#pragma once

// What changed in a list control, so that a backend redraws no more than it must.
enum class ListChange {
  Items,      // items were inserted, deleted or reordered
  Columns,    // a column was inserted, deleted, retitled or resized
  Selection,  // the selected or focused item changed
  Reveal,     // an item is to be scrolled into view (CListCtrl::RevealedItem)
  SortArrow,  // the arrow in a column title (CListCtrl::SortArrowColumn)
};

class WindowPeer {
 public:
  virtual ~WindowPeer() = default;

  virtual void TextChanged() {}
  virtual void RectChanged() {}
  // A control's own state: a check mark, a combo's entries, an edit's limit.
  virtual void StateChanged() {}
  virtual void ListChanged(ListChange /*what*/) {}
  virtual void IconChanged() {}
  virtual void MenuChanged() {}
  // The window started or stopped taking dropped files (WS_EX_ACCEPTFILES).
  virtual void DropTargetChanged() {}
  virtual void Redraw() {}
  // Long work on the user-interface thread began or ended (platform/WorkProgress.h): meanwhile
  // the program's state may change under the window, which shows what it showed before.
  virtual void WorkChanged(bool /*running*/) {}
  // How far the work has come, out of ProgressRule::kFull; -1 when no progress shows.
  virtual void ProgressChanged(int /*filled*/) {}
};
