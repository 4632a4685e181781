#include "platform/win32/native/ListTips.h"

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <iterator>
#include <utility>

namespace native {
namespace {
// Room that the list leaves around a text in its cell and in its title, as it fits a column; a
// title that shows the sort arrow needs room for that too.
constexpr int kCellPadding = 12;
constexpr int kTitlePadding = 12;
constexpr int kArrowRoom = 18;
// Longer tips wrap at this width.
constexpr int kTipWidth = 600;
// A tip shows at most this much of a text (the list hands at most a cell's shown part anyway).
constexpr size_t kTipChars = size_t{64} * 1024;
constexpr UINT_PTR kListTool = 1;
constexpr UINT_PTR kHeaderTool = 2;
// The ids of the watch on the list and on its header.
constexpr UINT_PTR kWatchList = 0x4C54;
constexpr UINT_PTR kWatchHeader = 0x4C55;

HWND AsWindow(Handle window) {
  return static_cast<HWND>(window);
}

LRESULT CALLBACK Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                       DWORD_PTR data) {
  auto* tips = reinterpret_cast<ListTips*>(data);
  if (message == WM_MOUSEMOVE)
    tips->Hover(id == kWatchHeader, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  return DefSubclassProc(window, message, wParam, lParam);
}

TTTOOLINFOW Tool(HWND window, UINT_PTR id) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
  tool.hwnd = window;
  tool.uId = id;
  GetClientRect(window, &tool.rect);
  tool.lpszText = const_cast<wchar_t*>(L"");
  return tool;
}

int StringWidth(HWND list, const std::wstring& text) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
}
}  // namespace

ListTips::~ListTips() {
  Detach();
}

bool ListTips::Attach(Handle list, ListSource* source) {
  Detach();
  HWND view = AsWindow(list);
  HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, view, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
  if (!tip)
    return false;
  list_ = list;
  header_ = header;
  tip_ = tip;
  source_ = source;
  SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
  for (auto [window, id] : {std::pair{view, kListTool}, std::pair{header, kHeaderTool}}) {
    if (!window)
      continue;
    TTTOOLINFOW tool = Tool(window, id);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowSubclass(window, Watch, id == kListTool ? kWatchList : kWatchHeader,
                      reinterpret_cast<DWORD_PTR>(this));
  }
  return true;
}

void ListTips::Detach() {
  if (list_)
    RemoveWindowSubclass(AsWindow(list_), Watch, kWatchList);
  if (header_)
    RemoveWindowSubclass(AsWindow(header_), Watch, kWatchHeader);
  if (tip_)
    DestroyWindow(AsWindow(tip_));
  list_ = header_ = tip_ = nullptr;
  source_ = nullptr;
  text_.clear();
}

void ListTips::Hover(bool header, int x, int y) {
  if (!tip_ || !source_)
    return;
  ShowText(header, header ? TitleTip(x, y) : CellTip(x, y));
}

std::wstring ListTips::CellTip(int x, int y) const {
  HWND list = AsWindow(list_);
  LVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  if (SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 ||
      hit.iItem < 0 || !(hit.flags & LVHT_ONITEM)) {
    return std::wstring();
  }
  std::u16string_view text = source_->ItemText(hit.iItem, hit.iSubItem);
  if (text.empty())
    return std::wstring();
  int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, hit.iSubItem, 0));
  text = text.substr(0, kTipChars);
  std::wstring whole(text.begin(), text.end());
  return StringWidth(list, whole) + kCellPadding > width ? whole : std::wstring();
}

std::wstring ListTips::TitleTip(int x, int y) const {
  HWND header = AsWindow(header_);
  HDHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  int column =
      static_cast<int>(SendMessageA(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (column < 0 || !(hit.flags & HHT_ONHEADER))
    return std::wstring();
  wchar_t title[1024] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = title;
  item.cchTextMax = static_cast<int>(std::size(title));
  if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column),
                    reinterpret_cast<LPARAM>(&item)) ||
      !*title) {
    return std::wstring();
  }
  int room = kTitlePadding + ((item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) ? kArrowRoom : 0);
  std::wstring whole(title);
  return StringWidth(AsWindow(list_), whole) + room > item.cxy ? whole : std::wstring();
}

// A new text shows once the pointer rests again; where none is cut the tip stays away.
void ListTips::ShowText(bool header, const std::wstring& text) {
  HWND tip = AsWindow(tip_);
  HWND window = AsWindow(header ? header_ : list_);
  if (text == text_)
    return;
  text_ = text;
  SendMessageA(tip, TTM_POP, 0, 0);
  TTTOOLINFOW tool = Tool(window, header ? kHeaderTool : kListTool);
  tool.lpszText = const_cast<wchar_t*>(text_.c_str());
  SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tip, TTM_ACTIVATE, text_.empty() ? FALSE : TRUE, 0);
}

}  // namespace native
