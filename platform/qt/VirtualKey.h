// The window system's virtual-key codes for Qt's keys, so that key presses reach the program as
// the WM_KEYDOWN messages it knows.
#pragma once

#include <Qt>

#include "platform/Win32.h"

class VirtualKey {
 public:
  static constexpr UINT kBack = 0x08;
  static constexpr UINT kTab = 0x09;
  static constexpr UINT kShift = 0x10;
  static constexpr UINT kMenu = 0x12;
  static constexpr UINT kSpace = 0x20;
  static constexpr UINT kPrior = 0x21;
  static constexpr UINT kNext = 0x22;
  static constexpr UINT kEnd = 0x23;
  static constexpr UINT kHome = 0x24;
  static constexpr UINT kLeft = 0x25;
  static constexpr UINT kUp = 0x26;
  static constexpr UINT kRight = 0x27;
  static constexpr UINT kDown = 0x28;
  static constexpr UINT kInsert = 0x2D;
  static constexpr UINT kDelete = 0x2E;
  static constexpr UINT kApps = 0x5D;
  static constexpr UINT kF1 = 0x70;

  // The virtual key of a Qt::Key value, or 0 for a key that has none.
  static UINT FromQtKey(int key);
  // The key press as the modal loop sees it: the virtual key and the state of Ctrl, Shift and Alt.
  static MSG KeyDown(CWnd* target, UINT key, Qt::KeyboardModifiers modifiers);
};
