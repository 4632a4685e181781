#include "platform/win32/native/ReportList.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace native {
namespace {
// The list's wide characters are the window system's own.
const wchar_t* Wide(const std::u16string& text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
}  // namespace

ReportList::~ReportList() {
  Detach();
}

bool ReportList::Attach(DialogWindow& dialog, int id, ListSource* source) {
  Detach();
  HWND list = static_cast<HWND>(dialog.Control(id));
  if (!list || !(GetWindowLongA(list, GWL_STYLE) & LVS_OWNERDATA))
    return false;
  dialog_ = &dialog;
  id_ = id;
  list_ = list;
  source_ = source;
  // Cells are asked for as UTF-16, so that every character a cell shows reaches the screen.
  Send(CCM_SETUNICODEFORMAT, TRUE);
  dialog.SetNotifyTarget(id, this);
  tips_.Attach(list, source);
  return true;
}

void ReportList::Detach() {
  tips_.Detach();
  if (dialog_)
    dialog_->SetNotifyTarget(id_, nullptr);
  dialog_ = nullptr;
  list_ = nullptr;
  source_ = nullptr;
}

intptr_t ReportList::Send(unsigned message, uintptr_t wParam, intptr_t lParam) const {
  return list_ ? SendMessageA(static_cast<HWND>(list_), message, wParam, lParam) : 0;
}

void ReportList::SetItemCount(int count) {
  Send(LVM_SETITEMCOUNT, static_cast<uintptr_t>(count < 0 ? 0 : count), 0);
}

int ReportList::ItemCount() const {
  return static_cast<int>(Send(LVM_GETITEMCOUNT));
}

void ReportList::Refresh() {
  if (list_)
    InvalidateRect(static_cast<HWND>(list_), nullptr, TRUE);
}

void ReportList::SetRedraw(bool on) {
  Send(WM_SETREDRAW, on ? TRUE : FALSE);
  if (on)
    Refresh();
}

bool ReportList::InsertColumn(int index, const std::u16string& title, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.pszText = const_cast<wchar_t*>(Wide(title));
  column.iSubItem = index;
  if (width >= 0) {
    column.mask |= LVCF_WIDTH;
    column.cx = width;
  }
  return Send(LVM_INSERTCOLUMNW, static_cast<uintptr_t>(index),
              reinterpret_cast<intptr_t>(&column)) == index;
}

bool ReportList::SetColumn(int index, const std::u16string& title, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(Wide(title));
  column.cx = width;
  return Send(LVM_SETCOLUMNW, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(&column)) !=
         0;
}

bool ReportList::DeleteColumn(int index) {
  return Send(LVM_DELETECOLUMN, static_cast<uintptr_t>(index)) != 0;
}

bool ReportList::SetColumnWidth(int index, int width) {
  return Send(LVM_SETCOLUMNWIDTH, static_cast<uintptr_t>(index), width) != 0;
}

int ReportList::ColumnWidth(int index) const {
  return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<uintptr_t>(index)));
}

int ReportList::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ReportList::TextWidth(const std::u16string& text) const {
  return static_cast<int>(Send(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<intptr_t>(Wide(text))));
}

void ReportList::SetSortArrow(int column, int direction) {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  if (!header)
    return;
  int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int k = 0; k < count; ++k) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(k),
                      reinterpret_cast<LPARAM>(&item)))
      continue;
    int format = item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
    if (k == column && direction != 0)
      format |= direction > 0 ? HDF_SORTUP : HDF_SORTDOWN;
    if (format == item.fmt)
      continue;
    item.fmt = format;
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item));
  }
}

uint32_t ReportList::ExtendedStyle() const {
  return static_cast<uint32_t>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

void ReportList::SetExtendedStyle(uint32_t style) {
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<intptr_t>(style));
}

int ReportList::Selected() const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<uintptr_t>(-1), LVNI_SELECTED));
}

bool ReportList::Select(int index) {
  if (!list_ || index >= ItemCount())
    return false;
  selecting_ = true;
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  bool ok = true;
  if (index < 0) {
    Send(LVM_SETITEMSTATE, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(&state));
  } else {
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ok = Send(LVM_SETITEMSTATE, static_cast<uintptr_t>(index),
              reinterpret_cast<intptr_t>(&state)) != 0;
  }
  selecting_ = false;
  return ok;
}

bool ReportList::EnsureVisible(int index, bool partialOk) {
  return Send(LVM_ENSUREVISIBLE, static_cast<uintptr_t>(index), partialOk ? TRUE : FALSE) != 0;
}

void ReportList::SupplyText(intptr_t header, bool wide) {
  // Both forms share the layout up to the text pointer; only the characters differ.
  auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
  LVITEMA& item = info->item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
    return;
  std::u16string_view text = source_->ItemText(item.iItem, item.iSubItem);
  // The buffer is the control's: the text is cut to fit, never written past its end, and never
  // between the two halves of a character.
  size_t room = static_cast<size_t>(item.cchTextMax) - 1;
  if (wide) {
    size_t length = std::min(text.size(), room);
    if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 &&
        text[length - 1] < 0xDC00)
      --length;
    auto* out = reinterpret_cast<wchar_t*>(item.pszText);
    std::memcpy(out, text.data(), length * sizeof(wchar_t));
    out[length] = L'\0';
    return;
  }
  // A list that asks in the code page gets what it can show of the characters.
  const auto* chars = reinterpret_cast<const wchar_t*>(text.data());
  int count = static_cast<int>(text.size());
  int needed = WideCharToMultiByte(CP_ACP, 0, chars, count, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, chars, count, bytes.data(), needed, nullptr, nullptr);
  size_t length = std::min(bytes.size(), room);
  std::memcpy(item.pszText, bytes.data(), length);
  item.pszText[length] = '\0';
}

bool ReportList::OnNotify(intptr_t header, intptr_t* result) {
  if (!source_)
    return false;
  const auto* base = reinterpret_cast<const NMHDR*>(header);
  *result = 0;
  switch (base->code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
      SupplyText(header, base->code == LVN_GETDISPINFOW);
      return true;
    case LVN_KEYDOWN:
      source_->KeyDown(reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey,
                       GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                       GetKeyState(VK_MENU) < 0);
      return true;
    case NM_DBLCLK:
      source_->DoubleClicked(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
      return true;
    case LVN_COLUMNCLICK:
      source_->ColumnClicked(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if (selecting_ || !(change->uChanged & LVIF_STATE) ||
          !((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
        return false;
      if (change->uNewState & LVIS_SELECTED)
        source_->ItemSelected(change->iItem);
      else if (Selected() < 0)
        source_->ItemSelected(-1);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace native
