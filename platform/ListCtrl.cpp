#include "platform/ListCtrl.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
// Space around a fitted text, as the window system leaves it.
constexpr int kTextPadding = 12;
// How many of a column's longest texts (by bytes) are measured with the font.
constexpr size_t kMeasuredCandidates = 8;

// Item data are most often pointers, like the row view's row references. A loop over items that
// lie scattered in memory waits for each in turn unless it asks early for the data of an item some
// way ahead; data that are no address come to no harm.
constexpr size_t kPrefetchDistance = 16;

inline void PrefetchData(LPARAM data) {
  __builtin_prefetch(reinterpret_cast<const void*>(data));
  __builtin_prefetch(reinterpret_cast<const void*>(static_cast<uintptr_t>(data) + 64));
}

struct KeyedItem {
  uint64_t key;
  LPARAM item;
};

// How many chunks of eight bytes are sorted by keys before the comparison takes over.
constexpr int kKeyedChunks = 4;

struct FreeKeyed {
  void operator()(KeyedItem* items) const { std::free(items); }
};
using KeyedArray = std::unique_ptr<KeyedItem[], FreeKeyed>;

// Fresh memory costs a page fault per 4 KiB, and the keys of millions of items fill hundreds of
// MiB; huge pages take most of those faults away, and TLB misses during the sort too.
KeyedArray AllocateKeyed(size_t count) {
  size_t bytes = std::max<size_t>(count, 1) * sizeof(KeyedItem);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHuge = 2u << 20;
  if (bytes >= 4 * kHuge) {
    bytes = (bytes + kHuge - 1) / kHuge * kHuge;
    void* items = std::aligned_alloc(kHuge, bytes);
    if (items)
      madvise(items, bytes, MADV_HUGEPAGE);
    return KeyedArray(static_cast<KeyedItem*>(items));
  }
#endif
  return KeyedArray(static_cast<KeyedItem*>(std::malloc(bytes)));
}

// Sorts by the texts' first eight bytes; then each group of items whose bytes so far are equal
// gets the next eight bytes and is sorted by them, until the texts differ or end. Sorting
// contiguous keys touches far less memory than a comparison that chases two items, and only items
// that tie are asked for more of their text.
void SortByTexts(KeyedItem* items, size_t count, PFNLVSORTKEY key, PFNLVCOMPARE compare,
                 LPARAM sortValue, bool descending) {
  struct Run {
    size_t start;
    size_t end;
    int chunk;
  };
  auto rekey = [&](size_t start, size_t end, int chunk) {
    for (size_t i = start; i < end; ++i) {
      if (i + kPrefetchDistance < end)
        PrefetchData(items[i + kPrefetchDistance].item);
      items[i].key = key(items[i].item, sortValue, chunk);
    }
  };
  // Sorts a run by its keys and hands on each group of equal keys whose texts may still differ,
  // with the keys of its next chunk. A chunk whose last byte is zero holds the end of its text.
  auto sortRun = [&](const Run& run, auto&& tie) {
    std::sort(items + run.start, items + run.end,
              [](const KeyedItem& a, const KeyedItem& b) { return a.key < b.key; });
    for (size_t start = run.start; start < run.end;) {
      size_t end = start + 1;
      while (end < run.end && items[end].key == items[start].key)
        ++end;
      if (end - start > 1 && (items[start].key & 0xFF) != 0) {
        if (run.chunk + 1 < kKeyedChunks) {
          rekey(start, end, run.chunk + 1);
          tie(Run{start, end, run.chunk + 1});
        } else {
          // Texts that still tie share a long beginning, like the folders of paths: the
          // comparison settles them in one call per pair, not one pass per eight bytes. The keys
          // sort ascending, so a descending comparison is asked the other way round.
          std::sort(items + start, items + end, [&](const KeyedItem& a, const KeyedItem& b) {
            return descending ? compare(b.item, a.item, sortValue) < 0
                              : compare(a.item, b.item, sortValue) < 0;
          });
        }
      }
      start = end;
    }
  };
  // Each group of the first sort is settled before the next is looked at, and the runs within it
  // wait on a list rather than the stack: texts with long common beginnings cannot exhaust the
  // stack, and the list stays as short as one group's runs.
  std::vector<Run> runs;
  sortRun(Run{0, count, 0}, [&](const Run& group) {
    runs.push_back(group);
    while (!runs.empty()) {
      Run run = runs.back();
      runs.pop_back();
      sortRun(run, [&](const Run& inner) { runs.push_back(inner); });
    }
  });
}

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
  items_.insert(static_cast<size_t>(index), (item->mask & LVIF_PARAM) ? item->lParam : 0);
  if (selected_ >= index)
    ++selected_;
  if (focused_ >= index)
    ++focused_;
  Changed(ListChange::Items);
  return index;
}

void CListCtrl::SetItemCount(int count) {
  if (count > 0)
    items_.reserve(static_cast<size_t>(count));
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

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM sortValue, PFNLVSORTKEY key,
                          BOOL descending) {
  std::span<LPARAM> items = items_.Contiguous();
  LPARAM selectedData = GetItemData(selected_);
  LPARAM focusedData = GetItemData(focused_);
  KeyedArray keyed;
  if (key)
    keyed = AllocateKeyed(items.size());
  if (keyed) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (i + kPrefetchDistance < items.size())
        PrefetchData(items[i + kPrefetchDistance]);
      keyed[i] = {key(items[i], sortValue, 0), items[i]};
    }
    SortByTexts(keyed.get(), items.size(), key, compare, sortValue, descending != FALSE);
    // Equal texts may stand in any order, so the descending order is the ascending one reversed.
    for (size_t i = 0; i < items.size(); ++i)
      items[i] = keyed[descending ? items.size() - 1 - i : i].item;
  } else {
    // Without a key, or without room for the keys, the comparison alone sorts.
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
