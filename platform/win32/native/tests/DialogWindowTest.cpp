#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "TestIconRows.h"
#include "TestSupport.h"
#include "platform/win32/native/DialogControls.h"
#include "platform/win32/native/DialogWindow.h"
#include "platform/win32/native/MenuBar.h"
#include "platform/win32/native/NativeIcon.h"
#include "platform/win32/native/WaitCursor.h"

namespace native {

void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

constexpr int kField = 1003, kExact = 1005, kMatch = 1006, kPicture = 1010;

DialogDescription FieldQuery() {
  DialogDescription layout;
  layout.cx = 149;
  layout.cy = 86;
  layout.caption = "Find";
  layout.fontName = "MS Sans Serif";
  layout.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_MINIMIZEBOX;
  layout.controls = {
      {ControlKind::Static, -1, "Field", 7, 7, 30, 12, WS_GROUP | SS_LEFT | SS_CENTERIMAGE, 0},
      {ControlKind::ComboBox, kField, "", 52, 7, 90, 78, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0},
      {ControlKind::Edit, kMatch, "", 52, 25, 90, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
      {ControlKind::CheckBox, kExact, "Exact match", 7, 43, 52, 10,
       BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, 0},
      {ControlKind::Button, IDOK, "OK", 7, 65, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
      {ControlKind::Icon, kPicture, "", 120, 40, 20, 20, SS_ICON, 0},
  };
  return layout;
}

class Recorder : public WindowEvents {
 public:
  bool OnPaint(PaintSurface& surface) override {
    if (!paintIcon)
      return false;
    surface.DrawIcon(iconX, iconY, paintIcon);
    return true;
  }
  Handle DragIcon() override { return dragIcon; }

  Handle paintIcon = nullptr;
  Handle dragIcon = nullptr;
  int iconX = 0, iconY = 0;
};

class DialogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(FieldQuery(), nullptr, &events));
    frame = static_cast<HWND>(window.Window());
    window.Show(SW_SHOWNORMAL);
    PumpMessages();
  }

  Recorder events;
  DialogWindow window;
  HWND frame = nullptr;
};

TEST_F(DialogWindowTest, ControlsFollowTheDescription) {
  EXPECT_EQ(window.Text(), "Find");
  const DialogDescription layout = FieldQuery();
  const char* classes[] = {"Static", "ComboBox", "Edit", "Button", "Button", "Static"};
  HWND control = GetWindow(frame, GW_CHILD);
  for (size_t i = 0; i < layout.controls.size(); ++i, control = GetWindow(control, GW_HWNDNEXT)) {
    const ControlDescription& c = layout.controls[i];
    SCOPED_TRACE(c.text + " " + std::to_string(c.id));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetDlgCtrlID(control), c.id);
    EXPECT_EQ(ClassOf(control), classes[i]);
    // The window system moves an edit's border and a combo box's scroll bar elsewhere.
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    DWORD kept = c.style & ~static_cast<DWORD>(WS_BORDER | WS_VSCROLL);
    EXPECT_EQ(style & kept, kept);
    EXPECT_TRUE(style & WS_CHILD);
    // A combo box is as high as its edit part; an icon as large as its picture.
    if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::Icon)
      continue;
    EXPECT_EQ(WindowText(control), c.text);
    RECT placed{};
    GetWindowRect(control, &placed);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&placed), 2);
    // The window system converts the position and the size each on its own, rounding each
    // (MulDiv), so the far edge need not be where the sum converts to: with 13 pixels for 8
    // units, y 25 and height 12 put the bottom edge at 41 + 20 = 61, and 37 units convert to 60.
    Rect place = window.DialogUnitsToPixels(Rect{c.x, c.y, c.cx, c.cy});
    Rect expected{place.left, place.top, place.left + place.right, place.top + place.bottom};
    EXPECT_EQ((Rect{placed.left, placed.top, placed.right, placed.bottom}), expected);
  }
}

TEST_F(DialogWindowTest, MenuBarKeepsTheDescribedClientSize) {
  MenuBar menu;
  ASSERT_TRUE(menu.Build(
      {{MenuRow::Kind::Popup, "&File", 0, false}, {MenuRow::Kind::Item, "E&xit", 32772, false}}));
  DialogWindow withMenu;
  ASSERT_TRUE(withMenu.Create(FieldQuery(), nullptr, &events, menu.Get()));
  menu.Attached();
  Rect client = withMenu.ClientRect();
  Rect expected = withMenu.DialogUnitsToPixels(Rect{0, 0, 149, 86});
  EXPECT_EQ(client.Width(), expected.Width());
  EXPECT_EQ(client.Height(), expected.Height());
  EXPECT_EQ(GetMenu(static_cast<HWND>(withMenu.Window())), menu.Get());
}

TEST_F(DialogWindowTest, PaintHandlerDrawsTheIconAndDragIconIsTheOwners) {
  NativeIcon icon;
  ASSERT_TRUE(icon.Build(TestIconPixels(32)));
  events.paintIcon = icon.Get();
  events.iconX = 9;
  events.iconY = 4;
  window.Redraw();
  HDC dc = GetDC(frame);
  COLORREF background = GetSysColor(COLOR_3DFACE);
  for (int y = 0; y < 32; y += 3) {
    for (int x = 0; x < 32; x += 5) {
      char c = kTestIcon32[y][x];
      uint32_t rgb = kTestPalette[c <= '9' ? c - '0' : c - 'A' + 10];
      COLORREF expected = c == '.' ? background : RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
      EXPECT_EQ(GetPixel(dc, 9 + x, 4 + y), expected) << x << "," << y;
    }
  }
  ReleaseDC(frame, dc);
  EXPECT_NE(reinterpret_cast<HICON>(SendMessageA(frame, WM_QUERYDRAGICON, 0, 0)), icon.Get());
  events.dragIcon = icon.Get();
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(frame, WM_QUERYDRAGICON, 0, 0)), icon.Get());
}

TEST_F(DialogWindowTest, WaitCursorHoldsOverTheWindowUntilTheLastEnd) {
  HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  WaitCursor::Begin();
  WaitCursor::Begin();
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  SendMessageA(frame, WM_SETCURSOR, reinterpret_cast<WPARAM>(frame), MAKELPARAM(HTCLIENT, 0));
  EXPECT_EQ(GetCursor(), wait);
  WaitCursor::End();
  EXPECT_EQ(GetCursor(), wait);
  WaitCursor::End();
  EXPECT_NE(GetCursor(), wait);
  EXPECT_FALSE(WaitCursor::Active());
}

// Choosing, typing and clicking in a dialog are played through lintaro.exe in
// windows/tests/DesktopTest.cpp; typing past the limit and a picture are not.
TEST_F(DialogWindowTest, TypingStopsAtTheLimitAndAPictureTakesItsIcon) {
  DialogControls controls(window.Window());
  ASSERT_TRUE(controls.LimitText(kMatch, 40));
  HWND match = static_cast<HWND>(window.Control(kMatch));
  for (int i = 0; i < 45; ++i)
    SendMessageA(match, WM_CHAR, 'a' + i % 26, 1);
  EXPECT_EQ(controls.Text(kMatch).size(), 40u);

  NativeIcon icon;
  ASSERT_TRUE(icon.Load(kTestIconId, 32));
  ASSERT_TRUE(controls.SetIcon(kPicture, icon.Get()));
  EXPECT_EQ(SendMessageA(static_cast<HWND>(window.Control(kPicture)), STM_GETICON, 0, 0),
            reinterpret_cast<LRESULT>(icon.Get()));
}

}  // namespace
}  // namespace native
