// The list's bulk changes and its width fit: deleting many items in one pass ends as deleting them
// one by one, and a fitted column is as wide as its widest text in pixels, whatever the bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/Strings.h"
#include "platform/ListCtrl.h"
#include "table/TableFile.h"
#include "table/Workers.h"
#include "view/RowListView.h"
#include "view/RowOperations.h"

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

// Widths that do not follow byte counts: 'i' is narrow, 'W' wide, a UTF-8 character of several
// bytes as wide as two letters, and every other byte 7 pixels.
class ProportionalBackend : public QuietBackend {
 public:
  int TextWidth(const char* text, size_t length) override {
    int width = 0;
    for (size_t i = 0; i < length; ++i) {
      auto c = static_cast<unsigned char>(text[i]);
      width += c == 'i' ? 2 : c == 'W' ? 12 : c >= 0xC0 ? 14 : c >= 0x80 ? 0 : 7;
    }
    return width;
  }
  int ByteAdvance(unsigned char byte) override { return byte < 0x80 ? 12 : 14; }
};

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += piece;
  return out;
}

TEST(ListBulk, AFittedColumnIsAsWideAsItsWidestTextInPixels) {
  const std::string cjk = "\xE4\xB8\x80";  // one character, three bytes
  struct {
    const char* what;
    std::vector<std::string> texts;  // the second column, one row each
    int width;                       // padding of 12 included
  } const cases[] = {
      {"ten longer texts in bytes, one wider in pixels",
       [&] {
         std::vector<std::string> t(10, Repeat(cjk, 10));
         t.push_back(std::string(25, 'a'));
         return t;
       }(),
       25 * 7 + 12},
      {"a long narrow text and a short wide one", {"iiiiiiiiiiii", "WWW"}, 3 * 12 + 12},
      {"the widest lies past the first texts measured",
       [] {
         std::vector<std::string> t(40, std::string(10, 'i'));
         t.push_back("WWWW");
         return t;
       }(),
       4 * 12 + 12},
      {"texts of one width per byte", {"abc", "abcdef", "ab"}, 6 * 7 + 12},
      {"only empty texts", {"", ""}, 12},
  };
  ProportionalBackend backend;
  TempDir dir;
  for (unsigned threads : {1u, 3u}) {
    Workers::SetCount(threads);
    Workers::SetSmallestRange(threads == 1 ? 0 : 1);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what + std::string(threads == 1 ? ", one thread" : ", three threads"));
      std::string bytes = "id;text\n";
      for (size_t i = 0; i < c.texts.size(); ++i)
        bytes += std::to_string(i) + (i % 3 == 2 ? "\n" : ";" + c.texts[i] + "\n");
      for (size_t i = 2; i < c.texts.size(); i += 3)
        bytes += "x;" + c.texts[i] + "\n";  // rows without the column, and the texts again
      TableFile table(kColumnTitleFormat);
      ASSERT_TRUE(table.Parse(dir.Write("w.qdx", bytes).c_str(), true));
      RowListView list;
      list.SetTable(&table);
      list.InsertColumn(0, "id");
      list.InsertColumn(1, "text");
      ListAllRows(list, table);
      list.SetColumnWidth(1, LVSCW_AUTOSIZE);
      EXPECT_EQ(list.GetColumnWidth(1), c.width);
      list.DeleteAllItems();
    }
  }
  Workers::SetCount(0);
  Workers::SetSmallestRange(0);
}

}  // namespace
