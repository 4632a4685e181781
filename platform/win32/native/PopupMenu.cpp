#include "platform/win32/native/PopupMenu.h"

#include <windows.h>

#include <commctrl.h>

namespace native {
namespace {
bool Fill(HMENU menu, const std::vector<PopupEntry>& entries) {
  for (const PopupEntry& entry : entries) {
    const MenuRow& row = entry.row;
    if (row.kind == MenuRow::Kind::Separator) {
      if (!AppendMenuA(menu, MF_SEPARATOR, 0, nullptr))
        return false;
      continue;
    }
    UINT flags = MF_STRING | (row.grayed ? MF_GRAYED : 0u) | (row.checked ? MF_CHECKED : 0u);
    if (row.kind == MenuRow::Kind::Popup) {
      HMENU submenu = CreatePopupMenu();
      // The menu owns a submenu from the moment it is appended.
      if (!submenu || !Fill(submenu, entry.submenu) ||
          !AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                       row.text.c_str())) {
        if (submenu)
          DestroyMenu(submenu);
        return false;
      }
      continue;
    }
    if (!AppendMenuA(menu, flags, row.id, row.text.c_str()))
      return false;
  }
  return true;
}

POINT KeyboardPoint() {
  POINT point{0, 0};
  HWND focus = GetFocus();
  if (!focus)
    return point;
  char kind[32] = {};
  GetClassNameA(focus, kind, sizeof kind);
  RECT item{};
  int focused = lstrcmpiA(kind, WC_LISTVIEWA) == 0
                    ? static_cast<int>(SendMessageA(focus, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                    LVNI_FOCUSED))
                    : -1;
  item.left = LVIR_BOUNDS;
  RECT client{};
  GetClientRect(focus, &client);
  if (focused >= 0 &&
      SendMessageA(focus, LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                   reinterpret_cast<LPARAM>(&item)) &&
      item.bottom > client.top && item.bottom <= client.bottom) {
    point = POINT{item.left, item.bottom};
  } else {
    point = POINT{client.left, client.top};
  }
  ClientToScreen(focus, &point);
  return point;
}
}  // namespace

unsigned PopupMenu::Track(Handle owner, const std::vector<PopupEntry>& entries, int x, int y) {
  HMENU menu = CreatePopupMenu();
  if (!menu)
    return 0;
  unsigned picked = 0;
  if (Fill(menu, entries)) {
    POINT at = (x == -1 && y == -1) ? KeyboardPoint() : POINT{x, y};
    picked = static_cast<unsigned>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                                  0, static_cast<HWND>(owner), nullptr));
  }
  DestroyMenu(menu);
  return picked;
}

}  // namespace native
