#include "platform/win32/native/MenuBar.h"

#include <windows.h>

namespace native {
namespace {
HMENU AsMenu(Handle menu) {
  return static_cast<HMENU>(menu);
}

bool Append(HMENU menu, const MenuRow& row) {
  if (row.kind == MenuRow::Kind::Separator)
    return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
  UINT flags = MF_STRING | (row.checked ? MF_CHECKED : MF_UNCHECKED);
  return AppendMenuA(menu, flags, row.id, row.text.c_str()) != FALSE;
}
}  // namespace

MenuBar::~MenuBar() {
  if (menu_ && !attached_)
    DestroyMenu(AsMenu(menu_));
}

bool MenuBar::Build(const std::vector<MenuRow>& rows) {
  if (menu_ && !attached_)
    DestroyMenu(AsMenu(menu_));
  menu_ = nullptr;
  attached_ = false;
  HMENU bar = CreateMenu();
  if (!bar)
    return false;
  menu_ = bar;
  HMENU popup = nullptr;
  for (const MenuRow& row : rows) {
    if (row.kind == MenuRow::Kind::Popup) {
      popup = CreatePopupMenu();
      // The bar owns a pop-up from the moment it is appended.
      if (!popup ||
          !AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), row.text.c_str())) {
        if (popup)
          DestroyMenu(popup);
        return false;
      }
      continue;
    }
    if (!Append(popup ? popup : bar, row))
      return false;
  }
  return true;
}

bool MenuBar::SetChecked(unsigned id, bool checked) {
  return menu_ &&
         CheckMenuItem(AsMenu(menu_), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) !=
             static_cast<DWORD>(-1);
}

bool MenuBar::IsChecked(unsigned id) const {
  if (!menu_)
    return false;
  UINT state = GetMenuState(AsMenu(menu_), id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

}  // namespace native
