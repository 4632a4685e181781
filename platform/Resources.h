// Resource records of a program: dialog templates, menus, accelerator tables, strings and icons,
// found by id the way the window system finds them in an executable.
#pragma once

#include <span>
#include <string>

#include "platform/Win32.h"

enum class ControlKind { Static, Icon, Button, CheckBox, Edit, ComboBox, ListView };

// Positions and sizes are in dialog units.
struct ControlTemplate {
  ControlKind kind;
  int id;
  const char* text;
  int x, y, cx, cy;
  DWORD style;
  DWORD exStyle;
};

struct DialogTemplate {
  int id;
  int x, y, cx, cy;
  const char* caption;
  const char* fontName;
  int pointSize;
  DWORD style;
  DWORD exStyle;
  int menuId;  // 0: no menu
  std::span<const ControlTemplate> controls;
};

// A menu as a flat list: a row with MF_POPUP opens a pop-up of the menu bar, and the rows after
// it, up to the next MF_POPUP row, are its items. A separator has MF_SEPARATOR, id 0 and no text.
struct MenuItemTemplate {
  const char* text;
  UINT id;
  UINT flags;
};

struct MenuTemplate {
  int id;
  std::span<const MenuItemTemplate> items;
};

struct ACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};

struct AcceleratorTemplate {
  int id;
  std::span<const ACCEL> entries;
};

struct StringResource {
  int id;
  const char* text;
};

// A picture of `size` by `size` pixels, one row a string, one character a pixel: its index in
// the 16-colour palette as a hex digit, or '.' for transparent.
struct IconImage {
  int size;
  std::span<const char* const> rows;
};

struct Icon {
  int id;
  std::span<const IconImage> images;
};

using HICON = const Icon*;

struct ResourceSet {
  std::span<const DialogTemplate> dialogs;
  std::span<const MenuTemplate> menus;
  std::span<const AcceleratorTemplate> accelerators;
  std::span<const StringResource> strings;
  std::span<const Icon> icons;
};

// The palette of 16-colour icons, as 0xRRGGBB.
extern const DWORD kIconPalette[16];

void RegisterResources(const ResourceSet* resources);
const DialogTemplate* FindDialogTemplate(int id);
const MenuTemplate* FindMenuTemplate(int id);
const AcceleratorTemplate* LoadAccelerators(int id);
HICON LoadIcon(int id);
// The icon that the ",N" of an icon location names in the program's file: N >= 0 counts the
// icons in order from 0, N < 0 is the icon whose id is -N. Null when there is none.
HICON IconAtIndex(int index);
// The string, or the empty text when there is none.
std::string LoadString(int id);
