// The settings image: 13 32-bit words, each stored least significant byte first, 52 bytes with
// nothing before, between or after them. It is kept as one binary registry value beside a DWORD
// value that holds its length.
#pragma once

#include "platform/Win32.h"

struct SettingsRecord {
  static constexpr LONG kVersion = 110;
  static constexpr DWORD kWordCount = 13;
  static constexpr DWORD kSize = kWordCount * 4;

  // Where the image is kept, under HKEY_CURRENT_USER.
  static constexpr const char* kKey = "Software\\Lintaro";
  static constexpr const char* kValueName = "Config";

  // The words in the order they are stored.
  LONG version = kVersion;  // any other value: the image is not applied
  // The state flags of the "Save settings on exit" menu item as the menu reports them; MF_CHECKED
  // (8) tells whether settings are saved. Given back to the menu as its check flags.
  DWORD saveItemState = 0;
  // The window's placement, in the structure's own field order: length, flags, showCmd (3 for
  // maximized, else 1), minimized position x and y, maximized position x and y, normal rectangle
  // left, top, right and bottom.
  WINDOWPLACEMENT placement;
};

static_assert(sizeof(SettingsRecord) == SettingsRecord::kSize, "the image has no padding");
