// The list's bulk changes: deleting many items in one pass ends as deleting them one by one. (A
// fitted column's width against the font is in desktop/tests/ColumnWidthTest.cpp.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/ListCtrl.h"

namespace {

struct Marks {
  std::vector<LPARAM> items;
  int selected, focused, revealed;
  bool operator==(const Marks&) const = default;
};

Marks MarksOf(CListCtrl& list) {
  auto data = list.ItemData();
  return {{data.begin(), data.end()},
          list.GetNextItem(-1, LVNI_SELECTED),
          list.GetNextItem(-1, LVNI_FOCUSED),
          list.RevealedItem()};
}

void Fill(CListCtrl& list, int count, int clicked, int revealed) {
  list.DeleteAllItems();
  list.AppendItems(static_cast<size_t>(count), [](std::span<LPARAM> slots) {
    for (size_t i = 0; i < slots.size(); ++i)
      slots[i] = static_cast<LPARAM>(100 + i);
  });
  list.UserClickItem(clicked);
  list.EnsureVisible(revealed, FALSE);
}

TEST(ListBulk, KeepItemsEndsAsDeletingOneByOne) {
  struct {
    const char* what;
    std::string keep;  // one flag per item: 1 stays
    int clicked;       // selected and focused; -1: none
    int revealed;
  } const cases[] = {
      {"marks after deletions move up", "0101101", 5, 6},
      {"a deleted selection is lost", "1101", 2, 2},
      {"marks before every deletion stay", "1100", 1, 0},
      {"everything deleted", "000", 1, 2},
      {"nothing deleted", "111", 0, 2},
      {"no selection", "0110", -1, 3},
      {"an empty list", "", -1, -1},
  };
  QuietBackend backend;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    int count = static_cast<int>(c.keep.size());
    CListCtrl bulk, single;
    Fill(bulk, count, c.clicked, c.revealed);
    Fill(single, count, c.clicked, c.revealed);
    std::vector<uint8_t> keep;
    for (char flag : c.keep)
      keep.push_back(flag == '1');
    bulk.KeepItems(keep);
    for (int i = count - 1; i >= 0; --i) {
      if (!keep[static_cast<size_t>(i)])
        single.DeleteItem(i);
    }
    EXPECT_EQ(MarksOf(bulk), MarksOf(single));
  }
}

}  // namespace
