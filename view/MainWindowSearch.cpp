// The main window's searches: Pick, Find and Duplicates.
#include "app/FieldQueryDialog.h"
#include "app/MainWindow.h"
#include "app/Strings.h"
#include "table/TableFile.h"
#include "view/TextFold.h"

namespace {
// Whether a field matches, for Pick and Find alike: with exact on, it equals the match ignoring
// case; with exact off, it contains the match ignoring case.
bool Matches(const char* t, const char* match, bool exact) {
  return exact ? CompareIgnoringCase(t, match) == 0 : ContainsIgnoringCase(t, match);
}

// A column that the current table lacks (a remembered choice from a wider file, or no choice at
// all) ends a search without change.
bool IsColumnOf(const TableFile* table, int32_t column) {
  return column >= 0 && column < table->columnCount;
}
}  // namespace

void MainWindow::OnViewPick() {
  FieldQueryDialog dialog;
  if (dialog.Run(kPickCaption) == IDCANCEL)
    return;
  int32_t column = dialog.selection;
  bool exact = dialog.exact != 0;
  const std::string match = dialog.match;
  if (match.empty()) {
    MessageBox(kEnterMatch, kCaptionInfo, MB_OK);
    return;
  }
  if (!IsColumnOf(table, column))
    return;
  SetWindowText(kTitlePicking);
  list.LockWindowUpdate();
  for (int i = 0; i < list.GetItemCount();) {
    if (Matches(list.GetItemText(i, column), match.c_str(), exact)) {
      ++i;
    } else {
      list.DeleteItem(i);
    }
  }
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
  allShown = false;
}

void MainWindow::OnViewFind() {
  FieldQueryDialog dialog;
  if (dialog.Run(kFindCaption) == IDCANCEL)
    return;
  int32_t column = dialog.selection;
  bool exact = dialog.exact != 0;
  const std::string match = dialog.match;
  if (match.empty()) {
    MessageBox(kEnterMatch, kCaptionInfo, MB_OK);
    return;
  }
  if (!IsColumnOf(table, column))
    return;
  int count = list.GetItemCount();
  int selected = list.GetNextItem(-1, LVNI_SELECTED);
  int start = (selected < 0 || selected >= count) ? 0 : selected + 1;
  for (int i = start; i < list.GetItemCount(); ++i) {
    if (Matches(list.GetItemText(i, column), match.c_str(), exact)) {
      list.SelectAndReveal(i);
      return;
    }
  }
  MessageBox(kNoMatches, kCaptionInfo, MB_OK);
}

void MainWindow::OnViewDuplicates() {
  if (duplicatesDialog.DoModal() == IDCANCEL)
    return;
  int32_t k = duplicatesDialog.GetSelection();
  if (!IsColumnOf(table, k))
    return;
  SetWindowText(kTitlePickingDuplicates);
  list.LockWindowUpdate();
  list.SortByColumn(k, 1);
  for (int i = 0; i < list.GetItemCount();) {
    int n = list.GetItemCount();
    bool keep =
        i < n - 1 && CompareIgnoringCase(list.GetItemText(i + 1, k), list.GetItemText(i, k)) == 0;
    if (!keep && i > 0) {
      keep = CompareIgnoringCase(list.GetItemText(i - 1, k), list.GetItemText(i, k)) == 0;
    }
    if (keep) {
      ++i;
    } else {
      list.DeleteItem(i);
    }
  }
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
  allShown = false;
}
