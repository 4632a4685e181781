#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/win32/native/CommonDialogs.h"

namespace native {
namespace {

class OpenFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "lintaro-open-test";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"\\a.qdx", "\\b.txt"}) {
      HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      CloseHandle(file);
    }
    request.filters = {{"QDX file (*.qdx)", "*.qdx"}, {"All files (*.*)", "*.*"}};
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  }
  void TearDown() override {
    DeleteFileA((folder + "\\a.qdx").c_str());
    DeleteFileA((folder + "\\b.txt").c_str());
    RemoveDirectoryA(folder.c_str());
  }

  std::string folder;
  OpenFileRequest request;
};

TEST_F(OpenFileTest, StartsInTheFolderOfTheGivenFileWithTheFirstFilter) {
  request.initialDir = folder + "\\a.qdx";
  std::string firstFilter;
  bool readOnlyShown = true;
  WhenDialogShows([&](HWND dialog) {
    char text[128] = {};
    SendDlgItemMessageA(dialog, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0) == 0)
      firstFilter = text;
    HWND readOnly = GetDlgItem(dialog, chx1);
    readOnlyShown = readOnly && IsWindowVisible(readOnly);
    // The file name goes into whichever name box this dialog has.
    SetDlgItemTextA(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1, "a.qdx");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  });
  std::string path;
  ASSERT_TRUE(CommonDialogs::AskFileToOpen(request, &path));
  EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(), -1,
                           (folder + "\\a.qdx").c_str(), -1),
            CSTR_EQUAL)
      << path;
  EXPECT_EQ(firstFilter, "QDX file (*.qdx)");
  EXPECT_FALSE(readOnlyShown);
}

TEST_F(OpenFileTest, CancelLeavesThePathAlone) {
  request.initialDir = folder;
  WhenDialogShows([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
  std::string path = "unchanged";
  EXPECT_FALSE(CommonDialogs::AskFileToOpen(request, &path));
  EXPECT_EQ(path, "unchanged");
}

}  // namespace
}  // namespace native
