#include "platform/KeyState.h"

KeyStateScope::Modifiers KeyStateScope::current_;

KeyStateScope::KeyStateScope(const MSG& msg) : saved_(current_) {
  current_ = Modifiers{msg.ctrl, msg.shift, msg.alt};
}

KeyStateScope::~KeyStateScope() {
  current_ = saved_;
}

SHORT GetKeyState(int virtualKey) {
  constexpr SHORT kDown = static_cast<SHORT>(0x8000);
  const KeyStateScope::Modifiers& now = KeyStateScope::current_;
  bool down = (virtualKey == static_cast<int>(VK_CONTROL) && now.ctrl) ||
              (virtualKey == static_cast<int>(VK_SHIFT) && now.shift) ||
              (virtualKey == static_cast<int>(VK_MENU) && now.alt);
  return down ? kDown : SHORT{0};
}
