#include "platform/Menu.h"

#include "platform/Backend.h"
#include "platform/Wnd.h"

std::unique_ptr<CMenu> CMenu::Load(const MenuTemplate& source, CWnd* owner) {
  auto bar = std::make_unique<CMenu>(owner);
  CMenu* current = nullptr;
  for (const MenuItemTemplate& row : source.items) {
    if (row.flags & MF_POPUP) {
      Item popup{row.text ? row.text : "", 0, MF_POPUP, std::make_unique<CMenu>(owner)};
      current = popup.popup.get();
      bar->items_.push_back(std::move(popup));
      continue;
    }
    if (current)
      current->AppendMenu(row.flags, row.id, row.text);
  }
  return bar;
}

CMenu::Item* CMenu::Find(UINT id) {
  for (Item& item : items_) {
    if (item.popup) {
      if (Item* found = item.popup->Find(id))
        return found;
    } else if (item.id == id && !(item.state & MF_SEPARATOR)) {
      return &item;
    }
  }
  return nullptr;
}

const CMenu::Item* CMenu::Find(UINT id) const {
  return const_cast<CMenu*>(this)->Find(id);
}

UINT CMenu::GetMenuState(UINT id, UINT /*flags*/) const {
  const Item* item = Find(id);
  return item ? item->state : MENU_NOT_FOUND;
}

DWORD CMenu::CheckMenuItem(UINT id, UINT check) {
  return SetState(Find(id), MF_CHECKED, check);
}

DWORD CMenu::EnableMenuItem(UINT item, UINT enable) {
  if (!(enable & MF_BYPOSITION))
    return SetState(Find(item), MF_GRAYED, enable);
  return SetState(item < items_.size() ? &items_[item] : nullptr, MF_GRAYED, enable);
}

DWORD CMenu::SetState(Item* item, UINT bit, UINT flags) {
  if (!item)
    return MENU_NOT_FOUND;
  DWORD previous = item->state & bit;
  item->state = (item->state & ~bit) | (flags & bit);
  Changed();
  return previous;
}

void CMenu::Changed() const {
  if (owner_)
    CurrentBackend().Show(*owner_, &WindowPeer::MenuChanged);
}

BOOL CMenu::AppendMenu(UINT flags, UINT id, const char* text) {
  Item item;
  item.text = text ? text : "";
  item.id = (flags & MF_SEPARATOR) ? 0 : id;
  item.state = flags & (MF_CHECKED | MF_GRAYED | MF_SEPARATOR);
  items_.push_back(std::move(item));
  Changed();
  return TRUE;
}

BOOL CMenu::AppendMenu(std::unique_ptr<CMenu> popup, const char* text) {
  if (!popup)
    return FALSE;
  items_.push_back(Item{text ? text : "", 0, MF_POPUP, std::move(popup)});
  Changed();
  return TRUE;
}

CMenu* CMenu::GetSubMenu(int position) const {
  if (position < 0 || static_cast<size_t>(position) >= items_.size())
    return nullptr;
  return items_[static_cast<size_t>(position)].popup.get();
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) const {
  if (!owner)
    return FALSE;
  UINT picked = CurrentBackend().TrackPopupMenu(*this, *owner, POINT{x, y});
  // Only an item that the menu offers can be picked: not a separator, nor one greyed out.
  const Item* item = picked ? Find(picked) : nullptr;
  if (!item || (item->state & MF_GRAYED))
    return FALSE;
  if (flags & TPM_RETURNCMD)
    return static_cast<BOOL>(picked);
  owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(picked), NOTIFY_MENU), 0);
  return TRUE;
}
