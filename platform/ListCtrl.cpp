#include "platform/ListCtrl.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {
// Space around a fitted text, as the window system leaves it.
constexpr int kTextPadding = 12;
// How many of a column's longest texts the first walk keeps; a walk after it keeps this many
// times more for the columns still unfitted. A real font draws most texts a little narrower than
// their advances add up to, so a column of many long words has more than a few texts whose bound
// beats the widest one measured; each one that the first walk leaves out costs a walk over every
// row, which on a big file takes longer than the whole load.
constexpr size_t kFirstCandidates = 64;
constexpr size_t kCandidateGrowth = 16;

unsigned Bit(ListChange what) {
  return 1u << static_cast<unsigned>(what);
}
}  // namespace

void CListCtrl::Changed(ListChange what) {
  if (what == ListChange::Items)
    widestValid_ = false;
  if (IsDrawingLocked()) {
    pending_ |= Bit(what);
    return;
  }
  CurrentBackend().Show(*this, &WindowPeer::ListChanged, what);
}

void CListCtrl::OnLockReleased() {
  unsigned pending = std::exchange(pending_, 0u);
  for (ListChange what : {ListChange::Columns, ListChange::Items, ListChange::Selection,
                          ListChange::Reveal, ListChange::SortArrow}) {
    if (pending & Bit(what))
      CurrentBackend().Show(*this, &WindowPeer::ListChanged, what);
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
  if (!items_.erase(static_cast<size_t>(index)))
    return FALSE;
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

std::string_view CListCtrl::GetItemText(int item, int subItem) {
  if (item < 0 || item >= GetItemCount())
    return {};
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
  if (!info.item.pszText)
    return {};
  if (info.cchText >= 0)
    return {info.item.pszText, static_cast<size_t>(info.cchText)};
  return info.item.pszText;
}

BOOL CListCtrl::AppendItemRun(LPARAM first, size_t count) {
  if (count == 0)
    return TRUE;
  if (!items_.AppendRun(first, count))
    return FALSE;
  Changed(ListChange::Items);
  return TRUE;
}

BOOL CListCtrl::KeepItems(const std::vector<uint8_t>& keep) {
  size_t count = std::min(keep.size(), items_.size());
  // A mark on a deleted item is lost; one on a kept item moves up by the deletions before it.
  int deletedBefore = 0;
  int marks[] = {selected_, focused_, revealed_};
  int moved[] = {-1, -1, -1};
  for (size_t i = 0; i < count; ++i) {
    for (size_t m = 0; m < 3; ++m) {
      if (marks[m] == static_cast<int>(i) && keep[i])
        moved[m] = marks[m] - deletedBefore;
    }
    deletedBefore += keep[i] ? 0 : 1;
  }
  for (size_t m = 0; m < 3; ++m) {
    if (marks[m] >= static_cast<int>(count))
      moved[m] = marks[m] - deletedBefore;
  }
  if (deletedBefore == 0)
    return TRUE;
  if (!items_.Keep(keep))
    return FALSE;
  selected_ = moved[0];
  focused_ = moved[1];
  revealed_ = moved[2];
  Changed(ListChange::Items);
  return TRUE;
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
  LPARAM selectedData = GetItemData(selected_);
  LPARAM focusedData = GetItemData(focused_);
  std::span<int32_t> items = items_.Stored();
  if (items.empty() && GetItemCount() != 0)
    return FALSE;
  if (sorter) {
    sorter(items.data(), items.size(), sortValue);
  } else {
    std::sort(items.begin(), items.end(),
              [&](int32_t a, int32_t b) { return compare(a, b, sortValue) < 0; });
  }
  // The selected and focused items keep their state at their new places.
  auto find = [&](int mark, LPARAM data) {
    if (mark < 0)
      return -1;
    auto it = std::find(items.begin(), items.end(), static_cast<int32_t>(data));
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
  if (arrowColumn_ >= at)
    SetSortArrow(arrowColumn_ + 1, arrow_);
  return at;
}

BOOL CListCtrl::DeleteColumn(int index) {
  if (index < 0 || index >= GetColumnCount())
    return FALSE;
  columns_.erase(columns_.begin() + index);
  Changed(ListChange::Columns);
  if (arrowColumn_ >= index)
    SetSortArrow(arrowColumn_ == index ? -1 : arrowColumn_ - 1, arrow_);
  return TRUE;
}

void CListCtrl::SetSortArrow(int column, int arrow) {
  bool none =
      column < 0 || column >= GetColumnCount() || (arrow != HDF_SORTUP && arrow != HDF_SORTDOWN);
  int newColumn = none ? -1 : column;
  int newArrow = none ? 0 : arrow;
  if (newColumn == arrowColumn_ && newArrow == arrow_)
    return;
  arrowColumn_ = newColumn;
  arrow_ = newArrow;
  Changed(ListChange::SortArrow);
}

const std::string& CListCtrl::GetColumnHeading(int index) const {
  return columns_[static_cast<size_t>(index)].heading;
}

int CListCtrl::GetColumnWidth(int index) const {
  if (index < 0 || index >= GetColumnCount())
    return 0;
  return columns_[static_cast<size_t>(index)].width;
}

BOOL CListCtrl::SetColumn(int index, const char* heading, int width) {
  if (index < 0 || index >= GetColumnCount())
    return FALSE;
  Column& column = columns_[static_cast<size_t>(index)];
  column.heading = heading ? heading : "";
  column.width = std::max(width, 0);
  Changed(ListChange::Columns);
  return TRUE;
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

void CListCtrl::CollectLongestTexts(LongestTexts& longest) {
  int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    for (size_t k = 0; k < longest.Columns(); ++k) {
      if (!longest.Wants(k))
        continue;
      std::string_view text = GetItemText(i, static_cast<int>(k));
      longest.Offer(k, text.data(), text.size());
    }
  }
}

namespace {
LongestTexts::Advances ByteAdvances() {
  Backend& backend = CurrentBackend();
  LongestTexts::Advances advances;
  for (unsigned b = 0; b < advances.size(); ++b)
    advances[b] = std::max(backend.ByteAdvance(static_cast<unsigned char>(b)), 0);
  return advances;
}
}  // namespace

LongestTexts CListCtrl::FirstCandidates(size_t columns) {
  return LongestTexts(columns, kFirstCandidates, std::vector<bool>(columns, false), ByteAdvances());
}

// A walk over the items keeps each column's longest texts by bytes, and only those are measured
// with the font; the rare column whose widest text may lie beyond them is walked again.
void CListCtrl::MeasureWidestTexts() {
  size_t columnCount = columns_.size();
  std::vector<int> widths(columnCount, 0);
  std::vector<bool> fitted(columnCount, GetItemCount() == 0);
  Backend& backend = CurrentBackend();
  const LongestTexts::Advances advances = ByteAdvances();
  // Measuring with a real font costs microseconds, and wide files repeat their short values in
  // column after column; the items do not change while the widths are measured.
  std::unordered_map<std::string_view, int> measured;
  for (size_t capacity = kFirstCandidates;
       std::find(fitted.begin(), fitted.end(), false) != fitted.end();
       capacity *= kCandidateGrowth) {
    LongestTexts longest(columnCount, capacity, fitted, advances);
    CollectLongestTexts(longest);
    longest.Fit(
        [&](const char* text, size_t length) {
          auto [at, added] = measured.try_emplace(std::string_view(text, length), 0);
          if (added)
            at->second = backend.TextWidth(text, length);
          return at->second;
        },
        widths, fitted);
  }
  widestCache_.resize(columnCount);
  for (size_t k = 0; k < columnCount; ++k)
    widestCache_[k] = widths[k] + kTextPadding;
  widestValid_ = true;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  DWORD previous = listExStyle_;
  listExStyle_ = style;
  Changed(ListChange::Columns);
  return previous;
}
