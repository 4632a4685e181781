#include "platform/win32/native/Metrics.h"

#include <windows.h>

namespace native {

int Metrics::SystemMetric(int index) {
  return GetSystemMetrics(index);
}

Rect Metrics::WorkArea() {
  RECT area{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return Rect{area.left, area.top, area.right, area.bottom};
}

Rect Metrics::FrameInsets(uint32_t style, uint32_t exStyle, bool hasMenu) {
  RECT outer{0, 0, 0, 0};
  AdjustWindowRectEx(&outer, style, hasMenu ? TRUE : FALSE, exStyle);
  return Rect{-outer.left, -outer.top, outer.right, outer.bottom};
}

int Metrics::TextWidth(Handle window, const std::u16string& text) {
  HWND owner = static_cast<HWND>(window);
  HDC dc = GetDC(owner);
  if (!dc)
    return 0;
  HFONT font = owner ? reinterpret_cast<HFONT>(SendMessageA(owner, WM_GETFONT, 0, 0)) : nullptr;
  if (!font)
    font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ before = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                        static_cast<int>(text.size()), &size);
  SelectObject(dc, before);
  ReleaseDC(owner, dc);
  return size.cx;
}

}  // namespace native
