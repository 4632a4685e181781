// What the window system's list tells its owner of keys and clicks, and what a pick from a pop-up
// menu becomes: the way by which the list's own commands reach the program.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/KeyState.h"
#include "platform/ListCtrl.h"
#include "platform/Menu.h"

namespace {

// A window that notes what its list tells it, and the commands it gets.
class ListOwner : public CWnd {
 public:
  std::vector<std::string> heard;

 protected:
  void OnKeyDown(NMHDR* n, LRESULT*) {
    auto* key = reinterpret_cast<NMLVKEYDOWN*>(n);
    heard.push_back("key " + std::to_string(key->wVKey) +
                    (GetKeyState(VK_CONTROL) < 0 ? " ctrl" : "") +
                    (GetKeyState(VK_SHIFT) < 0 ? " shift" : ""));
  }
  void OnDoubleClick(NMHDR* n, LRESULT*) {
    heard.push_back("double-click " + std::to_string(reinterpret_cast<NMITEMACTIVATE*>(n)->iItem));
  }
  void OnContextMenu(CWnd* window, POINT point) {
    heard.push_back(std::string("menu ") + (window == GetDlgItem(7) ? "list " : "? ") +
                    std::to_string(point.x) + "," + std::to_string(point.y));
  }
  bool OnCmdMsg(UINT id, int code) override {
    heard.push_back("command " + std::to_string(id) + " code " + std::to_string(code));
    return true;
  }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListOwner, CWnd)
ON_NOTIFY(LVN_KEYDOWN, 7, OnKeyDown)
ON_NOTIFY(NM_DBLCLK, 7, OnDoubleClick)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

// The window system's list: a key goes to the owner with the modifiers that were down, the menu key
// and Shift+F10 ask for the context menu, which the list leaves to its owner; either button selects
// the item under it, and a double-click tells the owner.
TEST(ListInput, TheListTellsItsOwner) {
  struct {
    const char* what;
    MSG msg;
    std::vector<std::string> heard;
    int selected;
  } const cases[] = {
      {"Ctrl+C", {nullptr, WM_KEYDOWN, 'C', 0, true}, {"key 67 ctrl"}, 1},
      {"Ctrl+Shift+C", {nullptr, WM_KEYDOWN, 'C', 0, true, true}, {"key 67 ctrl shift"}, 1},
      {"F3", {nullptr, WM_KEYDOWN, VK_F3, 0}, {"key 114"}, 1},
      {"the menu key", {nullptr, WM_KEYDOWN, VK_APPS, 0}, {"key 93", "menu list -1,-1"}, 1},
      {"Shift+F10",
       {nullptr, WM_KEYDOWN, VK_F10, 0, false, true},
       {"key 121 shift", "menu list -1,-1"},
       1},
      {"F10 alone is no menu", {nullptr, WM_KEYDOWN, VK_F10, 0}, {"key 121"}, 1},
      {"a double-click", {nullptr, WM_LBUTTONDBLCLK, 0, 2}, {"double-click 2"}, 2},
      {"a double-click below the rows",
       {nullptr, WM_LBUTTONDBLCLK, 0, -1},
       {"double-click -1"},
       -1},
      {"the right button selects", {nullptr, WM_RBUTTONDOWN, 0, 0}, {}, 0},
      {"the right button below the rows", {nullptr, WM_RBUTTONDOWN, 0, -1}, {}, -1},
  };
  QuietBackend backend;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ListOwner owner;
    CListCtrl list;
    owner.AddControl(list, ControlTemplate{ControlKind::ListView, 7, "", 0, 0, 9, 9, 0, 0},
                     RECT{0, 0, 90, 90});
    for (int i = 0; i < 3; ++i) {
      LVITEM item;
      item.iItem = i;
      list.InsertItem(&item);
    }
    list.UserClickItem(1);
    KeyStateScope keys(c.msg);
    list.SendMessage(c.msg.message, c.msg.wParam, c.msg.lParam);
    EXPECT_EQ(owner.heard, c.heard);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), c.selected);
  }
}

// A backend whose user picks one command from every pop-up menu.
class Picker : public QuietBackend {
 public:
  UINT pick = 0;
  UINT TrackPopupMenu(const CMenu&, CWnd&, POINT) override { return pick; }
};

// Only an item that the menu offers can be picked; the pick goes to the owner as a menu command,
// or back to the caller when it asks for it.
TEST(PopupMenu, APickOfAnItemThatIsThereIsAMenuCommand) {
  struct {
    const char* what;
    UINT pick;
    UINT flags;
    BOOL result;
    std::vector<std::string> heard;
  } const cases[] = {
      {"an item", 10, 0, TRUE, {"command 10 code 0"}},
      {"an item of a submenu", 12, 0, TRUE, {"command 12 code 0"}},
      {"a greyed item", 11, 0, FALSE, {}},
      {"nothing", 0, 0, FALSE, {}},
      {"a command the menu lacks", 99, 0, FALSE, {}},
      {"asked for back", 12, TPM_RETURNCMD, 12, {}},
  };
  Picker backend;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto submenu = std::make_unique<CMenu>();
    submenu->AppendMenu(MF_STRING, 12, "Twelve");
    CMenu menu;
    menu.AppendMenu(MF_STRING, 10, "Ten");
    menu.AppendMenu(MF_STRING | MF_GRAYED, 11, "Eleven");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(std::move(submenu), "More");
    ListOwner owner;
    backend.pick = c.pick;
    EXPECT_EQ(menu.TrackPopupMenu(c.flags, 5, 6, &owner), c.result);
    EXPECT_EQ(owner.heard, c.heard);
  }
}

}  // namespace
