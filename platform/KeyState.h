// The state of the modifier keys as the window system's GetKeyState gives it: as it was when the
// input message being handled was taken from the queue, not as it is now.
#pragma once

#include "platform/Win32.h"

// Ctrl (VK_CONTROL), Shift (VK_SHIFT) or Alt (VK_MENU): negative (the high bit set) while the key
// was down; 0 for a key that is not a modifier.
SHORT GetKeyState(int virtualKey);

// While it lives, `msg` is the input message being handled; the one before comes back after.
class KeyStateScope {
 public:
  explicit KeyStateScope(const MSG& msg);
  ~KeyStateScope();
  KeyStateScope(const KeyStateScope&) = delete;
  KeyStateScope& operator=(const KeyStateScope&) = delete;

 private:
  struct Modifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
  };
  friend SHORT GetKeyState(int virtualKey);
  static Modifiers current_;
  Modifiers saved_;
};
