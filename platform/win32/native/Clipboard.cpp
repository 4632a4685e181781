#include "platform/win32/native/Clipboard.h"

#include <windows.h>

#include <cstring>

namespace native {
namespace {
// Another program may hold the clipboard for a moment; it is asked again a few times.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPause = 20;

template <class Char>
std::basic_string<Char> WithCrLf(const std::basic_string<Char>& text) {
  std::basic_string<Char> lines;
  lines.reserve(text.size() + text.size() / 16 + 1);
  for (Char c : text) {
    if (c == Char('\n'))
      lines += Char('\r');
    lines += c;
  }
  return lines;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty())
    return std::wstring();
  int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

// A movable global block holding the text and its terminating NUL, as SetClipboardData takes it.
template <class Char>
HGLOBAL Block(const std::basic_string<Char>& text) {
  size_t bytes = (text.size() + 1) * sizeof(Char);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block)
    return nullptr;
  void* at = GlobalLock(block);
  if (!at) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(at, text.c_str(), bytes);
  GlobalUnlock(block);
  return block;
}

bool Put(UINT format, HGLOBAL block) {
  if (!block)
    return false;
  if (SetClipboardData(format, block))
    return true;
  GlobalFree(block);
  return false;
}
}  // namespace

bool Clipboard::PutText(Handle owner, const std::string& codePage, const std::string& utf8) {
  bool open = false;
  for (int i = 0; i < kOpenTries && !open; ++i) {
    open = OpenClipboard(static_cast<HWND>(owner)) != FALSE;
    if (!open)
      Sleep(kOpenPause);
  }
  if (!open)
    return false;
  bool put = EmptyClipboard() != FALSE;
  // The wide text first: it holds every character, and the system makes no other from it.
  put = put && Put(CF_UNICODETEXT, Block(WithCrLf(Wide(utf8))));
  put = put && Put(CF_TEXT, Block(WithCrLf(codePage)));
  CloseClipboard();
  return put;
}

}  // namespace native
