// What the user does to a list: clicks, keys and double-clicks, told to the list's parent as the
// window system's list tells them.
#include "platform/ListCtrl.h"

#include "platform/KeyState.h"

void CListCtrl::UserClickItem(int index) {
  if (index < 0) {
    SetItemState(-1, 0, LVIS_SELECTED);
    return;
  }
  SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// The notification goes to the list's parent, which reflects it back to the list.
MSG CListCtrl::TitleClickMessage(int column) {
  titleClick_ = NMLISTVIEW();
  titleClick_.hdr = NMHDR{this, static_cast<UINT>(GetDlgCtrlID()), LVN_COLUMNCLICK};
  titleClick_.iItem = -1;
  titleClick_.iSubItem = column;
  return MSG{GetParent(), WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()),
             reinterpret_cast<LPARAM>(&titleClick_)};
}

void CListCtrl::UserClickTitle(int column) {
  MSG click = TitleClickMessage(column);
  if (click.hwnd)
    click.hwnd->SendMessage(click.message, click.wParam, click.lParam);
}

void CListCtrl::Notify(NMHDR& header) {
  header = NMHDR{this, static_cast<UINT>(GetDlgCtrlID()), header.code};
  if (CWnd* parent = GetParent())
    parent->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CListCtrl::TellKeyDown(const MSG& key) {
  KeyStateScope keys(key);
  NMLVKEYDOWN notification{{nullptr, 0, LVN_KEYDOWN}, static_cast<WORD>(key.wParam), 0};
  Notify(notification.hdr);
}

void CListCtrl::TellDoubleClick(int item) {
  NMITEMACTIVATE notification{{nullptr, 0, NM_DBLCLK}, item, 0};
  Notify(notification.hdr);
}

// The window system's list: a key goes to the parent before the list moves with it, a click of
// either button selects the item under it, and the second click of a double-click tells the
// parent.
LRESULT CListCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    // A list is created empty, whatever an earlier window of the same object listed.
    items_.clear();
    columns_.clear();
    selected_ = focused_ = revealed_ = arrowColumn_ = -1;
    arrow_ = 0;
    listExStyle_ = 0;
    pending_ = 0;
    widestValid_ = false;
    return 0;
  }
  int item = static_cast<int>(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      UserClickItem(item);
      return 0;
    case WM_LBUTTONDBLCLK:
      UserClickItem(item);
      TellDoubleClick(item);
      return 0;
    case WM_KEYDOWN:
      TellKeyDown(MSG{this, message, wParam, lParam, GetKeyState(VK_CONTROL) < 0,
                      GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0});
      break;
    default:
      break;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}
