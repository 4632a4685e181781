#include "platform/win32/NativeDescriptions.h"

#include <utility>

namespace {
// The kinds are the same in both, in the same order.
constexpr native::ControlKind kKinds[] = {
    native::ControlKind::Static,   native::ControlKind::Icon, native::ControlKind::Button,
    native::ControlKind::CheckBox, native::ControlKind::Edit, native::ControlKind::ComboBox,
    native::ControlKind::ListView,
};
static_assert(static_cast<size_t>(ControlKind::ListView) + 1 == std::size(kKinds));
}  // namespace

native::DialogDescription DescribeDialog(const DialogTemplate& source) {
  native::DialogDescription layout;
  layout.x = source.x;
  layout.y = source.y;
  layout.cx = source.cx;
  layout.cy = source.cy;
  layout.caption = source.caption ? source.caption : "";
  layout.fontName = source.fontName ? source.fontName : "";
  layout.pointSize = source.pointSize;
  layout.style = source.style;
  layout.exStyle = source.exStyle;
  for (const ControlTemplate& row : source.controls) {
    layout.controls.push_back(native::ControlDescription{
        kKinds[static_cast<size_t>(row.kind)], row.id, row.text ? row.text : "", row.x, row.y,
        row.cx, row.cy, row.style, row.exStyle});
  }
  return layout;
}

native::MenuRow DescribeMenuItem(const CMenu::Item& item) {
  if (item.state & MF_SEPARATOR)
    return native::MenuRow{native::MenuRow::Kind::Separator, "", 0, false};
  return native::MenuRow{native::MenuRow::Kind::Item, item.text, item.id,
                         (item.state & MF_CHECKED) != 0, (item.state & MF_GRAYED) != 0};
}

std::vector<native::PopupEntry> DescribePopupMenu(const CMenu& menu) {
  std::vector<native::PopupEntry> entries;
  for (const CMenu::Item& item : menu.Items()) {
    if (!item.popup) {
      entries.push_back(native::PopupEntry{DescribeMenuItem(item), {}});
      continue;
    }
    native::MenuRow row{native::MenuRow::Kind::Popup, item.text, 0, false,
                        (item.state & MF_GRAYED) != 0};
    entries.push_back(native::PopupEntry{row, DescribePopupMenu(*item.popup)});
  }
  return entries;
}

std::vector<native::MenuRow> DescribeMenuBar(const CMenu& menu) {
  std::vector<native::MenuRow> rows;
  for (const CMenu::Item& top : menu.Items()) {
    if (!top.popup) {
      rows.push_back(DescribeMenuItem(top));
      continue;
    }
    rows.push_back(native::MenuRow{native::MenuRow::Kind::Popup, top.text, 0, false});
    for (const CMenu::Item& item : top.popup->Items())
      rows.push_back(DescribeMenuItem(item));
  }
  return rows;
}

std::vector<native::AcceleratorEntry> DescribeAccelerators(const AcceleratorTemplate& table) {
  std::vector<native::AcceleratorEntry> entries;
  for (const ACCEL& entry : table.entries)
    entries.push_back(native::AcceleratorEntry{entry.fVirt, entry.key, entry.cmd});
  return entries;
}

native::IconPixels DescribeIconBitmap(IconBitmap bitmap) {
  return native::IconPixels{bitmap.size, std::move(bitmap.rgba)};
}
