#include "TestSupport.h"

#include <vector>

namespace {
std::function<void(HWND)> pendingAction;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && ClassOf(window) == "#32770") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

native::ModalLoop* watchedLoop = nullptr;

void CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (watchedLoop)
    watchedLoop->End(-1);
}

void CALLBACK Poll(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog || !pendingAction)
    return;
  KillTimer(nullptr, timer);
  auto action = std::move(pendingAction);
  pendingAction = nullptr;
  action(dialog);
}
}  // namespace

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void WhenDialogShows(std::function<void(HWND)> action) {
  pendingAction = std::move(action);
  SetTimer(nullptr, 0, 50, Poll);
}

void PressKey(UINT key, bool control) {
  std::vector<INPUT> inputs;
  auto add = [&](UINT vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(vk);
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  if (control)
    add(VK_CONTROL, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (control)
    add(VK_CONTROL, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(HWND window, POINT point) {
  LPARAM at = MAKELPARAM(point.x, point.y);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(window, WM_LBUTTONUP, 0, at);
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<int32_t> IconPixelsOf(HICON icon, int size) {
  std::vector<int32_t> pixels;
  ICONINFO parts{};
  if (!GetIconInfo(icon, &parts))
    return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> colour(static_cast<size_t>(size * size));
  std::vector<uint32_t> mask(static_cast<size_t>(size * size));
  HDC dc = GetDC(nullptr);
  bool ok = GetDIBits(dc, parts.hbmColor, 0, size, colour.data(), &info, DIB_RGB_COLORS) == size;
  BITMAPINFO maskInfo = info;
  ok = ok && GetDIBits(dc, parts.hbmMask, 0, size, mask.data(), &maskInfo, DIB_RGB_COLORS) == size;
  ReleaseDC(nullptr, dc);
  DeleteObject(parts.hbmColor);
  DeleteObject(parts.hbmMask);
  if (!ok)
    return pixels;
  for (size_t i = 0; i < colour.size(); ++i)
    pixels.push_back((mask[i] & 0xFFFFFF) ? -1 : static_cast<int32_t>(colour[i] & 0xFFFFFF));
  return pixels;
}

bool RunModal(native::ModalLoop& loop, HWND dialog, HWND owner, native::Handle keys,
              native::MessageFilter* filter) {
  watchedLoop = &loop;
  UINT_PTR timer = SetTimer(nullptr, 0, 5000, GiveUp);
  bool ended = loop.Run(dialog, owner, keys, filter);
  KillTimer(nullptr, timer);
  watchedLoop = nullptr;
  return ended;
}
