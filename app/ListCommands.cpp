#include "app/ListCommands.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "app/Commands.h"
#include "app/GoToRowDialog.h"
#include "app/MainWindow.h"
#include "app/RowDetailsDialog.h"
#include "app/Strings.h"
#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "platform/KeyState.h"
#include "platform/TemporaryFile.h"
#include "view/RowFile.h"
#include "view/RowOperations.h"
#include "view/RowText.h"

namespace {
// More text than this is no longer something to paste: the user is better off with a file.
constexpr size_t kMostClipboardBytes = size_t{64} << 20;

constexpr unsigned kRecentFileCommands[] = {ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE2, ID_FILE_MRU_FILE3,
                                            ID_FILE_MRU_FILE4};
static_assert(std::size(kRecentFileCommands) == RecentFileList::kSize);

// A recent file's item: its number, then its path as it is stored, each "&" doubled so that the
// menu shows it instead of taking the letter after it for the item's key.
std::string RecentFileItem(size_t index, const std::string& path) {
  char key[16];
  std::snprintf(key, sizeof key, kRecentFileKeyFormat, index + 1);
  std::string text = key;
  for (char c : path) {
    text += c;
    if (c == '&')
      text += '&';
  }
  return text;
}
}  // namespace

BEGIN_MESSAGE_MAP(ListCommands, CCmdTarget)
ON_COMMAND(ID_EDIT_COPY_ROW, OnEditCopyRow)
ON_COMMAND(ID_EDIT_COPY_ROWS, OnEditCopyRows)
ON_COMMAND(ID_FILE_SAVE_ROWS, OnFileSaveRows)
ON_COMMAND(ID_VIEW_ROW_DETAILS, OnViewRowDetails)
ON_COMMAND(ID_VIEW_GO_TO_ROW, OnViewGoToRow)
ON_COMMAND(ID_VIEW_FIND_NEXT, OnViewFindNext)
ON_COMMAND(ID_FILE_MRU_FILE1, OnFileMruFile<0>)
ON_COMMAND(ID_FILE_MRU_FILE2, OnFileMruFile<1>)
ON_COMMAND(ID_FILE_MRU_FILE3, OnFileMruFile<2>)
ON_COMMAND(ID_FILE_MRU_FILE4, OnFileMruFile<3>)
END_MESSAGE_MAP()

// The list's events.

void ListCommands::RunAsKey(unsigned id) {
  window_.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), NOTIFY_ACCELERATOR), 0);
}

void ListCommands::OnListKeyDown(NMHDR* notification, LRESULT* result) {
  *result = 0;
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(notification);
  const Command* command = FindCommandByListKey(
      key->wVKey, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0);
  if (command)
    RunAsKey(command->id);
}

void ListCommands::OnListDoubleClick(NMHDR* notification, LRESULT* result) {
  *result = 0;
  if (reinterpret_cast<const NMITEMACTIVATE*>(notification)->iItem >= 0)
    RunAsKey(ID_VIEW_ROW_DETAILS);
}

// With no recent files the submenu is there, greyed out, so that the user learns where they
// will be.
std::unique_ptr<CMenu> ListCommands::ContextMenu() const {
  const MenuTemplate* source = FindMenuTemplate(IDR_LIST_MENU);
  std::unique_ptr<CMenu> menu = source ? CMenu::Load(*source, nullptr) : nullptr;
  CMenu* popup = menu ? menu->GetSubMenu(0) : nullptr;
  if (!popup)
    return menu;
  const std::vector<std::string>& files = window_.recentFiles.Files();
  auto recent = std::make_unique<CMenu>();
  for (size_t i = 0; i < files.size() && i < std::size(kRecentFileCommands); ++i)
    recent->AppendMenu(MF_STRING, kRecentFileCommands[i], RecentFileItem(i, files[i]).c_str());
  popup->AppendMenu(MF_SEPARATOR);
  popup->AppendMenu(std::move(recent), kRecentFilesMenu);
  if (files.empty())
    popup->EnableMenuItem(static_cast<UINT>(popup->Items().size() - 1), MF_BYPOSITION | MF_GRAYED);
  return menu;
}

// The path is taken before the load, which moves it to the top of the list or takes it off.
void ListCommands::OpenRecentFile(size_t index) {
  const std::vector<std::string>& files = window_.recentFiles.Files();
  if (index < files.size())
    window_.OpenFile(files[index]);
}

// A pick from the menu is a menu command, which passes the command filter.
void ListCommands::OnContextMenu(CWnd* window, POINT point) {
  if (window != &window_.list)
    return;
  std::unique_ptr<CMenu> menu = ContextMenu();
  if (CMenu* popup = menu ? menu->GetSubMenu(0) : nullptr)
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, &window_);
}

void ListCommands::Say(const char* text, const char* caption) {
  window_.MessageBox(text, caption, MB_OK);
}

int ListCommands::SelectedItemOrSay() {
  int item = window_.list.GetNextItem(-1, LVNI_SELECTED);
  if (item < 0)
    Say(kSelectRowFirst, kCaptionInfo);
  return item;
}

// Copying.

void ListCommands::OnEditCopyRow() {
  int item = SelectedItemOrSay();
  if (item < 0)
    return;
  ClipboardText text;
  AppendListedRow(window_.list, *window_.table, item, text);
  if (!SetClipboardText(window_, text))
    Say(kFailedToCopy, kCaptionError);
}

void ListCommands::OnEditCopyRows() {
  ClipboardText text;
  if (!AppendListedRows(window_.list, *window_.table, kMostClipboardBytes, text)) {
    Say(kTooMuchToCopy, kCaptionInfo);
    return;
  }
  if (!SetClipboardText(window_, text))
    Say(kFailedToCopy, kCaptionError);
}

// Saving.

void ListCommands::OnFileSaveRows() {
  CFileDialog dialog(FALSE, kQdxExtension, nullptr,
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, nullptr);
  dialog.m_ofn.lpstrFilter = kOpenFilter;
  if (!window_.path.empty())
    dialog.m_ofn.lpstrInitialDir = window_.path.c_str();
  if (dialog.DoModal() != IDOK)
    return;
  std::string target = dialog.GetPathName();
  if (IsSameFile(target, window_.path)) {
    Say(kSaveOverOpenFile, kCaptionError);
    return;
  }
  window_.SetWindowText(kTitleSaving);
  window_.BeginWaitCursor();
  bool saved = SaveListedRows(window_.list, *window_.table, target);
  window_.EndWaitCursor();
  window_.SetWindowText(window_.path);
  if (!saved)
    Say(kFailedToSave, kCaptionError);
}

// Reading a row, and moving to one.

void ListCommands::OnViewRowDetails() {
  int item = SelectedItemOrSay();
  if (item < 0)
    return;
  auto row = static_cast<int32_t>(window_.list.GetItemData(item));
  RowDetailsDialog dialog(RowDetailsText(*window_.table, row));
  dialog.DoModal();
}

void ListCommands::OnViewGoToRow() {
  long rows = window_.list.GetItemCount();
  if (rows == 0) {
    Say(kNoRowsListed, kCaptionInfo);
    return;
  }
  GoToRowDialog dialog(rows);
  if (dialog.DoModal() != IDOK)
    return;
  long row = ParseRowNumber(dialog.number, rows);
  if (row < 0) {
    char text[96];
    std::snprintf(text, sizeof text, kGoToRowRangeFormat, rows);
    Say(text, kCaptionInfo);
    return;
  }
  window_.list.SelectAndReveal(static_cast<int>(row - 1));
}

// Finding.

void ListCommands::Find(FindQuery query) {
  lastFind_ = std::move(query);
  if (!SelectNextMatch(window_.list, lastFind_->column, lastFind_->match, lastFind_->exact))
    Say(kNoMatches, kCaptionInfo);
}

// Before any Find, or when its column is gone with the file it was made for, there is nothing to
// find again: Find asks what to look for.
void ListCommands::OnViewFindNext() {
  if (!lastFind_ || !IsColumnOf(*window_.table, lastFind_->column)) {
    RunAsKey(ID_VIEW_FIND);
    return;
  }
  Find(*lastFind_);
}
