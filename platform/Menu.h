// A menu bar or pop-up with its items' check marks, read and set by command id.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "platform/Win32.h"

class CWnd;

class CMenu {
 public:
  struct Item {
    std::string text;  // empty for a separator
    UINT id = 0;
    UINT state = 0;  // MF_CHECKED, MF_GRAYED, MF_SEPARATOR, MF_POPUP bits
    std::unique_ptr<CMenu> popup;
  };

  explicit CMenu(CWnd* owner = nullptr) : owner_(owner) {}

  static std::unique_ptr<CMenu> Load(const MenuTemplate& source, CWnd* owner);

  // The item's state flags, searching every pop-up, or MENU_NOT_FOUND.
  UINT GetMenuState(UINT id, UINT flags) const;
  // Sets MF_CHECKED from `check`; returns the previous check state, or MENU_NOT_FOUND.
  DWORD CheckMenuItem(UINT id, UINT check);
  // Greys the item out (MF_GRAYED) or enables it (MF_ENABLED): by command, or with MF_BYPOSITION
  // the item at that position of this menu, pop-ups included. Returns its previous MF_GRAYED
  // state, or MENU_NOT_FOUND.
  DWORD EnableMenuItem(UINT item, UINT enable);
  BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr);
  // Appends an item with `text` from which `popup` opens.
  BOOL AppendMenu(std::unique_ptr<CMenu> popup, const char* text);
  // The pop-up that opens from the item at `position`, or null.
  CMenu* GetSubMenu(int position) const;

  // Shows the menu at the screen point (x, y), or where the keyboard focus is when both are -1,
  // until the user picks an item or leaves. With TPM_RETURNCMD the result is the command picked,
  // or 0; otherwise `owner` gets the pick as a menu command (WM_COMMAND, code 0) and the result is
  // whether there was one.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) const;

  const std::vector<Item>& Items() const { return items_; }

 private:
  Item* Find(UINT id);
  const Item* Find(UINT id) const;
  // Sets the item's `bit` of its state as `flags` have it: its previous state of that bit, or
  // MENU_NOT_FOUND for no item.
  DWORD SetState(Item* item, UINT bit, UINT flags);
  // Tells the owner's window that the menu shows something else.
  void Changed() const;

  CWnd* owner_;
  std::vector<Item> items_;
};
