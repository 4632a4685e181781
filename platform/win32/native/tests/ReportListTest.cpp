#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "TestSupport.h"
#include "platform/win32/native/DialogWindow.h"
#include "platform/win32/native/ReportList.h"

namespace native {
namespace {

constexpr int kListId = 1002;

class Rows : public ListSource {
 public:
  std::u16string_view ItemText(int item, int column) override {
    std::string bytes = column == 1 ? std::string(300, static_cast<char>('a' + item % 26))
                                    : "item " + std::to_string(item);
    text.assign(bytes.begin(), bytes.end());
    return text;
  }
  void ItemSelected(int item) override { selections.push_back(item); }

  std::u16string text;
  std::vector<int> selections;
};

class ReportListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogDescription layout;
    layout.cx = 200;
    layout.cy = 120;
    layout.fontName = "MS Sans Serif";
    layout.style = WS_POPUP | WS_CAPTION;
    layout.controls.push_back({ControlKind::ListView, kListId, "", 5, 5, 190, 110,
                               LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0});
    ASSERT_TRUE(window.Create(layout, nullptr, &events));
    ASSERT_TRUE(list.Attach(window, kListId, &rows));
    handle = static_cast<HWND>(list.Window());
    list.InsertColumn(0, u"Name", 80);
    list.InsertColumn(1, u"Long", 80);
    list.SetItemCount(20000);
    window.Show(SW_SHOWNORMAL);
    PumpMessages();
  }

  WindowEvents events;
  DialogWindow window;
  Rows rows;
  ReportList list;
  HWND handle = nullptr;
};

TEST_F(ReportListTest, OneItemAtMostIsSelectedAndOnlyTheUsersChoiceIsReported) {
  EXPECT_EQ(list.Selected(), -1);
  ASSERT_TRUE(list.Select(7));
  ASSERT_TRUE(list.Select(12));
  EXPECT_EQ(list.Selected(), 12);
  EXPECT_EQ(SendMessageA(handle, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 12);
  EXPECT_FALSE(list.Select(20000));
  EXPECT_EQ(list.Selected(), 12);
  ASSERT_TRUE(list.Select(-1));
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_TRUE(rows.selections.empty());

  // A click on the third visible row.
  list.EnsureVisible(0, FALSE);
  RECT row{};
  row.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageA(handle, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row)));
  ClickAt(handle, POINT{row.left + 10, (row.top + row.bottom) / 2});
  PumpMessages();
  EXPECT_EQ(list.Selected(), 2);
  ASSERT_FALSE(rows.selections.empty());
  EXPECT_EQ(rows.selections.back(), 2);
}

TEST_F(ReportListTest, EnsureVisibleScrollsTheWholeItemIntoView) {
  for (int item : {15000, 40, 19999}) {
    ASSERT_TRUE(list.EnsureVisible(item, false));
    int top = static_cast<int>(SendMessageA(handle, LVM_GETTOPINDEX, 0, 0));
    int page = static_cast<int>(SendMessageA(handle, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_LE(top, item);
    EXPECT_LT(item, top + page);
  }
}

TEST_F(ReportListTest, TextIsCutToTheCallersBufferAndNoFurther) {
  for (int room : {1, 2, 10, 299, 300, 301}) {
    std::vector<wchar_t> buffer(static_cast<size_t>(room) + 8, L'#');
    LVITEMW request{};
    request.iSubItem = 1;
    request.pszText = buffer.data();
    request.cchTextMax = room;
    SendMessageW(handle, LVM_GETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&request));
    size_t kept = std::min<size_t>(static_cast<size_t>(room) - 1, 300);
    EXPECT_EQ(std::wstring(request.pszText), std::wstring(kept, L'd')) << room;
    EXPECT_EQ(buffer[static_cast<size_t>(room)], L'#') << room;
  }
  // Fitted columns take their widths from the list's font.
  EXPECT_GT(list.TextWidth(u"WWWW"), list.TextWidth(u"ii"));
}

}  // namespace
}  // namespace native
