// What a backend keeps for one window that it shows: the widget, or whatever else it draws with.
// Each change of the window's state reaches it through Backend::Show; the platform only holds it.
#pragma once

// What changed in a list control, so that a backend redraws no more than it must.
enum class ListChange {
  Items,      // items were inserted, deleted or reordered
  Columns,    // a column was inserted, deleted, retitled or resized
  Selection,  // the selected or focused item changed
  Reveal,     // an item is to be scrolled into view (CListCtrl::RevealedItem)
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
  virtual void Redraw() {}
};
