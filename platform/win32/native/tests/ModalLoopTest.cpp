#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/win32/native/AcceleratorTable.h"
#include "platform/win32/native/DialogWindow.h"
#include "platform/win32/native/ModalLoop.h"

namespace native {
namespace {

constexpr int kEdit = 1006;
constexpr uint16_t kOpen = 57601, kPick = 32774;

class Ender : public WindowEvents, public MessageFilter {
 public:
  bool OnCommand(int id, int /*code*/, Handle /*control*/) override {
    if (id == kEdit)
      return false;
    commands.push_back(id);
    ownerEnabledThen = owner && IsWindowEnabled(owner);
    if (commands.size() == endAfter)
      loop.End(id);
    return true;
  }
  bool PreTranslate(const Message& message) override {
    if (message.message != WM_KEYDOWN || message.wParam != 'P')
      return false;
    swallowedWithCtrl.push_back(message.ctrl);
    return true;
  }

  ModalLoop loop;
  std::vector<int> commands;
  size_t endAfter = 1;
  std::vector<bool> swallowedWithCtrl;
  HWND owner = nullptr;
  bool ownerEnabledThen = true;
};

class ModalLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogDescription layout;
    layout.cx = 120;
    layout.cy = 40;
    layout.fontName = "MS Sans Serif";
    layout.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    ASSERT_TRUE(owner.Create(layout, nullptr, &ownerEvents));
    owner.Show(SW_SHOWNORMAL);
    layout.controls.push_back({ControlKind::Edit, kEdit, "", 5, 5, 100, 12, WS_TABSTOP, 0});
    ASSERT_TRUE(dialog.Create(layout, owner.Window(), &events));
    dialog.Show(SW_SHOWNORMAL);
    frame = static_cast<HWND>(dialog.Window());
    SetForegroundWindow(frame);
    SetFocus(GetDlgItem(frame, kEdit));
    PumpMessages();
  }

  WindowEvents ownerEvents;
  DialogWindow owner;
  Ender events;
  DialogWindow dialog;
  HWND frame = nullptr;
};

TEST_F(ModalLoopTest, FilterComesBeforeAcceleratorsAndOwnerIsDisabledMeanwhile) {
  AcceleratorTable keys;
  constexpr uint8_t kCtrl = 0x01 | 0x08;
  ASSERT_TRUE(keys.Build({{kCtrl, 'P', kPick}, {kCtrl, 'O', kOpen}}));
  events.owner = static_cast<HWND>(owner.Window());
  PressKey('P', true);
  PressKey('P', false);
  PressKey('O', true);
  EXPECT_TRUE(RunModal(events.loop, frame, events.owner, keys.Get(), &events));
  EXPECT_EQ(events.loop.Result(), kOpen);
  EXPECT_EQ(events.commands, (std::vector<int>{kOpen}));
  EXPECT_EQ(events.swallowedWithCtrl, (std::vector<bool>{true, false}));
  EXPECT_FALSE(events.ownerEnabledThen);
  EXPECT_TRUE(IsWindowEnabled(events.owner));
}

TEST_F(ModalLoopTest, EnterAndEscapeBecomeOkAndCancel) {
  events.endAfter = 2;
  PressKey(VK_RETURN, false);
  PressKey(VK_ESCAPE, false);
  EXPECT_TRUE(RunModal(events.loop, frame, nullptr, nullptr, nullptr));
  EXPECT_EQ(events.commands, (std::vector<int>{IDOK, IDCANCEL}));
}

TEST_F(ModalLoopTest, QuitRequestEndsTheLoopAndIsPassedOn) {
  PostQuitMessage(3);
  EXPECT_FALSE(RunModal(events.loop, frame, nullptr, nullptr, nullptr));
  EXPECT_FALSE(events.loop.Running());
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace native
