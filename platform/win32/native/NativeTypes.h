// Plain descriptions that cross the native shim's boundary. Nothing here names a window-system
// type: handles are opaque pointers, style bits and message numbers are plain integers with the
// window system's own values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace native {

using Handle = void*;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class ControlKind { Static, Icon, Button, CheckBox, Edit, ComboBox, ListView };

// Positions and sizes in dialog units.
struct ControlDescription {
  ControlKind kind = ControlKind::Static;
  int id = -1;
  std::string text;
  int x = 0, y = 0, cx = 0, cy = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
};

struct DialogDescription {
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  std::string fontName;
  int pointSize = 8;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  std::vector<ControlDescription> controls;
};

// A menu bar as a flat list: a Popup row opens a pop-up of the bar, and the rows after it, up to
// the next Popup row, are its items.
struct MenuRow {
  enum class Kind { Popup, Item, Separator };
  Kind kind = Kind::Item;
  std::string text;
  unsigned id = 0;
  bool checked = false;
  bool grayed = false;
};

// A pop-up menu's entry: an item, a separator, or (kind Popup) a submenu with its own entries.
struct PopupEntry {
  MenuRow row;
  std::vector<PopupEntry> submenu;
};

// One accelerator: the window system's FVIRTKEY/FSHIFT/FCONTROL/FALT bits, a key and a command.
struct AcceleratorEntry {
  uint8_t flags = 0;
  uint16_t key = 0;
  uint16_t command = 0;
};

// A square picture of `size` by `size` pixels, row by row from the top, each pixel as the bytes
// red, green, blue and alpha; alpha 0 is transparent, any other opaque.
struct IconPixels {
  int size = 0;
  std::vector<uint8_t> rgba;
};

struct Placement {
  unsigned flags = 0;
  unsigned showCmd = 1;
  int minX = 0, minY = 0;
  int maxX = 0, maxY = 0;
  Rect normal;
};

// A queued message as the modal loop retrieved it. `ctrl` is whether Control was down when it was
// retrieved.
struct Message {
  Handle window = nullptr;
  unsigned message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  bool ctrl = false;
};

}  // namespace native
