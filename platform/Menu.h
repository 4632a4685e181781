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
    UINT state = 0;  // MF_CHECKED, MF_SEPARATOR, MF_POPUP bits
    std::unique_ptr<CMenu> popup;
  };

  explicit CMenu(CWnd* owner = nullptr) : owner_(owner) {}

  static std::unique_ptr<CMenu> Load(const MenuTemplate& source, CWnd* owner);

  // The item's state flags, searching every pop-up, or MENU_NOT_FOUND.
  UINT GetMenuState(UINT id, UINT flags) const;
  // Sets MF_CHECKED from `check`; returns the previous check state, or MENU_NOT_FOUND.
  DWORD CheckMenuItem(UINT id, UINT check);
  BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr);

  const std::vector<Item>& Items() const { return items_; }

 private:
  Item* Find(UINT id);
  const Item* Find(UINT id) const;

  CWnd* owner_;
  std::vector<Item> items_;
};
