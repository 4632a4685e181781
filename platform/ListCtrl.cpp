#include "platform/ListCtrl.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>

namespace {
// Space around a fitted text, as the window system leaves it.
constexpr int kTextPadding = 12;
// How many of a column's longest texts (by bytes) are measured with the font.
constexpr size_t kMeasuredCandidates = 8;

unsigned Bit(ListChange what) {
  return 1u << static_cast<unsigned>(what);
}

// Keeps the byte lengths and texts of the longest few texts seen.
struct Candidates {
  std::array<std::pair<size_t, const char*>, kMeasuredCandidates> best{};
  size_t count = 0;

  void Offer(const char* text, size_t length) {
    if (count == best.size() && length <= best[count - 1].first)
      return;
    size_t i = count < best.size() ? count++ : count - 1;
    while (i > 0 && best[i - 1].first < length) {
      best[i] = best[i - 1];
      --i;
    }
    best[i] = {length, text};
  }
};
}  // namespace

void CListCtrl::Changed(ListChange what) {
  if (what == ListChange::Items)
    widestValid_ = false;
  if (IsDrawingLocked()) {
    pending_ |= Bit(what);
    return;
  }
  CurrentBackend().ListChanged(*this, what);
}

void CListCtrl::OnLockReleased() {
  unsigned pending = std::exchange(pending_, 0u);
  for (ListChange what :
       {ListChange::Columns, ListChange::Items, ListChange::Selection, ListChange::Reveal}) {
    if (pending & Bit(what))
      CurrentBackend().ListChanged(*this, what);
  }
}

int CListCtrl::InsertItem(const LVITEM* item) {
  int count = GetItemCount();
  int index = std::clamp(item->iItem, 0, count);
  if (!items_.insert(static_cast<size_t>(index), (item->mask & LVIF_PARAM) ? item->lParam : 0))
    return -1;
  if (selected_ >= index)
    ++selected_;
  if (focused_ >= index)
    ++focused_;
  Changed(ListChange::Items);
  return index;
}

BOOL CListCtrl::SetItemCount(int count) {
  return count <= 0 || items_.reserve(static_cast<size_t>(count)) ? TRUE : FALSE;
}

BOOL CListCtrl::DeleteItem(int index) {
  if (index < 0 || index >= GetItemCount())
    return FALSE;
  items_.erase(static_cast<size_t>(index));
  for (int* mark : {&selected_, &focused_, &revealed_}) {
    if (*mark == index) {
      *mark = -1;
    } else if (*mark > index) {
      --*mark;
    }
  }
  Changed(ListChange::Items);
  return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
  items_.clear();
  selected_ = focused_ = revealed_ = -1;
  Changed(ListChange::Items);
  return TRUE;
}

LPARAM CListCtrl::GetItemData(int index) const {
  if (index < 0 || index >= GetItemCount())
    return 0;
  return items_[static_cast<size_t>(index)];
}

const char* CListCtrl::GetItemText(int item, int subItem) {
  if (item < 0 || item >= GetItemCount())
    return "";
  NMLVDISPINFO info;
  info.hdr = NMHDR{this, static_cast<UINT>(GetDlgCtrlID()), LVN_GETDISPINFO};
  info.item.mask = LVIF_TEXT;
  info.item.iItem = item;
  info.item.iSubItem = subItem;
  scratch_[0] = '\0';
  info.item.pszText = scratch_;
  info.item.cchTextMax = static_cast<int>(sizeof scratch_);
  info.item.lParam = items_[static_cast<size_t>(item)];
  LPARAM l = reinterpret_cast<LPARAM>(&info);
  // The owner reflects the request back to this control, so a handler of our own answers it
  // directly; it is looked up once, not per cell.
  if (!dispInfoLooked_) {
    dispInfoHandler_ = FindEntry(WM_NOTIFY, LVN_GETDISPINFO, 0);
    dispInfoLooked_ = true;
  }
  if (dispInfoHandler_) {
    dispInfoHandler_->thunk(*this, static_cast<WPARAM>(GetDlgCtrlID()), l);
  } else if (CWnd* owner = GetParent()) {
    owner->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), l);
  }
  return info.item.pszText ? info.item.pszText : "";
}

void CListCtrl::GetItemTexts(int item, int count, const char** texts, size_t* lengths) {
  for (int k = 0; k < count; ++k) {
    texts[k] = GetItemText(item, k);
    lengths[k] = std::strlen(texts[k]);
  }
}

int CListCtrl::GetNextItem(int start, int flags) const {
  int mark = (flags & LVNI_SELECTED) ? selected_ : (flags & LVNI_FOCUSED) ? focused_ : -1;
  if (mark < 0 || mark <= start)
    return -1;
  return mark;
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  if (index < -1 || index >= GetItemCount())
    return FALSE;
  auto apply = [&](UINT bit, int& mark) {
    if (!(mask & bit))
      return;
    if (state & bit) {
      if (index >= 0)
        mark = index;
    } else if (index == -1 || mark == index) {
      mark = -1;
    }
  };
  apply(LVIS_SELECTED, selected_);
  apply(LVIS_FOCUSED, focused_);
  Changed(ListChange::Selection);
  return TRUE;
}

UINT CListCtrl::GetItemState(int index, UINT mask) const {
  UINT state = 0;
  if (index == selected_)
    state |= LVIS_SELECTED;
  if (index == focused_)
    state |= LVIS_FOCUSED;
  return state & mask;
}

BOOL CListCtrl::EnsureVisible(int index, BOOL /*partialOK*/) {
  if (index < 0 || index >= GetItemCount())
    return FALSE;
  revealed_ = index;
  Changed(ListChange::Reveal);
  return TRUE;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM sortValue, PFNLVSORTITEMS sorter) {
  std::span<LPARAM> items = items_.Contiguous();
  LPARAM selectedData = GetItemData(selected_);
  LPARAM focusedData = GetItemData(focused_);
  if (sorter) {
    sorter(items.data(), items.size(), sortValue);
  } else {
    std::sort(items.begin(), items.end(),
              [&](LPARAM a, LPARAM b) { return compare(a, b, sortValue) < 0; });
  }
  // The selected and focused items keep their state at their new places.
  auto find = [&](int mark, LPARAM data) {
    if (mark < 0)
      return -1;
    auto it = std::find(items.begin(), items.end(), data);
    return static_cast<int>(it - items.begin());
  };
  selected_ = find(selected_, selectedData);
  focused_ = find(focused_, focusedData);
  Changed(ListChange::Items);
  return TRUE;
}

int CListCtrl::InsertColumn(int index, const char* heading, int format, int width, int /*sub*/) {
  int at = std::clamp(index, 0, GetColumnCount());
  columns_.insert(columns_.begin() + at,
                  Column{heading ? heading : "", format, std::max(width, 0)});
  Changed(ListChange::Columns);
  return at;
}

BOOL CListCtrl::DeleteColumn(int index) {
  if (index < 0 || index >= GetColumnCount())
    return FALSE;
  columns_.erase(columns_.begin() + index);
  Changed(ListChange::Columns);
  return TRUE;
}

const std::string& CListCtrl::GetColumnHeading(int index) const {
  return columns_[static_cast<size_t>(index)].heading;
}

int CListCtrl::GetColumnWidth(int index) const {
  if (index < 0 || index >= GetColumnCount())
    return 0;
  return columns_[static_cast<size_t>(index)].width;
}

BOOL CListCtrl::SetColumnWidth(int index, int width) {
  if (index < 0 || index >= GetColumnCount())
    return FALSE;
  // The width travels as a 16-bit value, so the autosize request arrives as 0xFFFF.
  int sent = static_cast<int16_t>(static_cast<uint16_t>(width));
  columns_[static_cast<size_t>(index)].width = sent == LVSCW_AUTOSIZE ? FitWidth(index) : sent;
  Changed(ListChange::Columns);
  return TRUE;
}

int CListCtrl::FitWidth(int column) {
  if (!widestValid_ || widestCache_.size() != columns_.size())
    MeasureWidestTexts();
  return widestCache_[static_cast<size_t>(column)];
}

// One pass over the items finds each column's longest texts by bytes; only those are measured
// with the font, so fitting stays cheap however many items there are.
void CListCtrl::MeasureWidestTexts() {
  size_t columnCount = columns_.size();
  std::vector<Candidates> longest(columnCount);
  int count = GetItemCount();
  std::vector<const char*> texts(columnCount);
  std::vector<size_t> lengths(columnCount);
  for (int i = 0; i < count; ++i) {
    GetItemTexts(i, static_cast<int>(columnCount), texts.data(), lengths.data());
    for (size_t k = 0; k < columnCount; ++k)
      longest[k].Offer(texts[k], lengths[k]);
  }
  widestCache_.assign(columnCount, kTextPadding);
  for (size_t k = 0; k < columnCount; ++k) {
    for (size_t c = 0; c < longest[k].count; ++c) {
      const auto& [length, text] = longest[k].best[c];
      int width = CurrentBackend().TextWidth(text, length) + kTextPadding;
      widestCache_[k] = std::max(widestCache_[k], width);
    }
  }
  widestValid_ = true;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  DWORD previous = listExStyle_;
  listExStyle_ = style;
  Changed(ListChange::Columns);
  return previous;
}

void CListCtrl::UserClickItem(int index) {
  if (index < 0) {
    SetItemState(-1, 0, LVIS_SELECTED);
    return;
  }
  SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

LRESULT CListCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    // A list is created empty, whatever an earlier window of the same object listed.
    items_.clear();
    columns_.clear();
    selected_ = focused_ = revealed_ = -1;
    listExStyle_ = 0;
    pending_ = 0;
    widestValid_ = false;
    return 0;
  }
  if (message == WM_LBUTTONDOWN) {
    UserClickItem(static_cast<int>(lParam));
    return 0;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}
