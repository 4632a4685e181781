// A whole window as the viewer uses it: a resizable dialog with a menu bar, a virtual report list
// of 100,000 rows sorted through the header, a check mark toggled by a menu command, and Ctrl+P
// turned into a command by the accelerator table inside the modal loop.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "TestSupport.h"
#include "platform/win32/native/AcceleratorTable.h"
#include "platform/win32/native/DialogWindow.h"
#include "platform/win32/native/MenuBar.h"
#include "platform/win32/native/ModalLoop.h"
#include "platform/win32/native/ReportList.h"

namespace native {
namespace {

constexpr int kRows = 100000;
constexpr int kListId = 1002;
constexpr unsigned kOpen = 57601, kHeaders = 32780, kPick = 32774;

class Viewer : public WindowEvents, public ListSource {
 public:
  Viewer() : order(kRows) { std::iota(order.begin(), order.end(), 0); }

  // Column 0 counts up in file order, column 1 counts down.
  const char* ItemText(int item, int column) override {
    int row = order[static_cast<size_t>(item)];
    std::snprintf(text, sizeof text, column == 0 ? "r%06d" : "%06d",
                  column == 0 ? row : kRows - 1 - row);
    return text;
  }

  void ColumnClicked(int column) override {
    clicked = column;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      return column == 0 ? a < b : (kRows - 1 - a) < (kRows - 1 - b);
    });
    list.Refresh();
  }

  bool OnCommand(int id, int code, Handle /*control*/) override {
    commands.push_back({id, code});
    if (id == static_cast<int>(kHeaders))
      menu.SetChecked(kHeaders, !menu.IsChecked(kHeaders));
    if (id == static_cast<int>(kPick))
      loop.End(id);
    return true;
  }

  std::vector<int> order;
  char text[32] = {};
  int clicked = -1;
  std::vector<std::pair<int, int>> commands;
  MenuBar menu;
  ReportList list;
  ModalLoop loop;
};

std::string ItemTextOf(HWND list, int item, int column) {
  char buffer[64] = {};
  LVITEMA request{};
  request.iSubItem = column;
  request.pszText = buffer;
  request.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
               reinterpret_cast<LPARAM>(&request));
  return buffer;
}

TEST(ViewerWindowTest, SortsOnHeaderClickTogglesCheckAndTranslatesCtrlP) {
  DialogDescription layout;
  layout.cx = 174;
  layout.cy = 126;
  layout.caption = "Lintaro 1.2 by Quorvel";
  layout.fontName = "MS Sans Serif";
  layout.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                 WS_MAXIMIZEBOX;
  layout.exStyle = WS_EX_APPWINDOW;
  layout.controls.push_back(
      {ControlKind::ListView, kListId, "", 5, 5, 164, 116,
       WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE});
  Viewer viewer;
  using Kind = MenuRow::Kind;
  ASSERT_TRUE(viewer.menu.Build({{Kind::Popup, "&File", 0, false},
                                 {Kind::Item, "&Open\tCtrl+O", kOpen, false},
                                 {Kind::Popup, "&View", 0, false},
                                 {Kind::Item, "Headers\tCtrl+H", kHeaders, true},
                                 {Kind::Separator, "", 0, false},
                                 {Kind::Item, "&Pick\tCtrl+P", kPick, false}}));
  AcceleratorTable keys;
  constexpr uint8_t kCtrl = 0x01 | 0x08 | 0x02 | 0x80;  // virtual key, Control, no invert, end bit
  ASSERT_TRUE(keys.Build({{kCtrl, 'O', kOpen}, {kCtrl, 'P', kPick}}));

  DialogWindow window;
  ASSERT_TRUE(window.Create(layout, nullptr, &viewer, viewer.menu.Get()));
  viewer.menu.Attached();
  ASSERT_TRUE(viewer.list.Attach(window, kListId, &viewer));
  ASSERT_TRUE(viewer.list.InsertColumn(0, "Up", 100));
  ASSERT_TRUE(viewer.list.InsertColumn(1, "Down", 100));
  viewer.list.SetItemCount(kRows);
  window.Show(SW_SHOWNORMAL);
  PumpMessages();
  HWND list = static_cast<HWND>(viewer.list.Window());
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), kRows);
  EXPECT_EQ(ItemTextOf(list, 0, 0), "r000000");
  EXPECT_EQ(ItemTextOf(list, 0, 1), "099999");

  // A click on the second column's title, on the header control itself.
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT title{};
  ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&title)));
  ClickAt(header, POINT{(title.left + title.right) / 2, (title.top + title.bottom) / 2});
  PumpMessages();
  EXPECT_EQ(viewer.clicked, 1);
  EXPECT_EQ(ItemTextOf(list, 0, 0), "r099999");
  EXPECT_EQ(ItemTextOf(list, 0, 1), "000000");
  EXPECT_EQ(ItemTextOf(list, kRows - 1, 0), "r000000");
  EXPECT_EQ(ItemTextOf(list, 4321, 1), "004321");

  // The menu command flips the check mark of the window's own menu bar.
  HWND frame = static_cast<HWND>(window.Window());
  HMENU bar = GetMenu(frame);
  ASSERT_EQ(bar, viewer.menu.Get());
  EXPECT_TRUE(GetMenuState(bar, kHeaders, MF_BYCOMMAND) & MF_CHECKED);
  PostMessageA(frame, WM_COMMAND, MAKEWPARAM(kHeaders, 0), 0);
  PumpMessages();
  EXPECT_FALSE(GetMenuState(bar, kHeaders, MF_BYCOMMAND) & MF_CHECKED);

  // P alone is no command; Ctrl+O and Ctrl+P are, marked as coming from an accelerator.
  SetForegroundWindow(frame);
  SetFocus(list);
  viewer.commands.clear();
  PressKey('P', false);
  PressKey('O', true);
  PressKey('P', true);
  EXPECT_TRUE(RunModal(viewer.loop, frame, nullptr, keys.Get(), nullptr));
  EXPECT_EQ(viewer.loop.Result(), static_cast<int>(kPick));
  using Command = std::pair<int, int>;
  EXPECT_EQ(viewer.commands,
            (std::vector<Command>{{static_cast<int>(kOpen), 1}, {static_cast<int>(kPick), 1}}));
}

}  // namespace
}  // namespace native
