// The main window's searches: Pick, Find and Duplicates, each asked for in its dialog.
#include <string>
#include <utility>
#include <vector>

#include "app/FieldQueryDialog.h"
#include "app/MainWindow.h"
#include "app/Strings.h"
#include "view/LongWork.h"
#include "view/RowOperations.h"

bool MainWindow::AskFieldQuery(const char* caption, int32_t& column,
                               std::vector<std::string>& match, bool& exact) {
  FieldQueryDialog dialog;
  if (dialog.Run(caption) == IDCANCEL)
    return false;
  column = dialog.selection;
  exact = dialog.exact != 0;
  match = dialog.match;
  if (match.front().empty()) {
    MessageBox(kEnterMatch, kCaptionInfo, MB_OK);
    return false;
  }
  return IsColumnOf(*table, column);
}

void MainWindow::OnViewPick() {
  int32_t column = 0;
  std::vector<std::string> match;
  bool exact = false;
  if (!AskFieldQuery(kPickCaption, column, match, exact))
    return;
  LongWork work(*this);
  SetWindowText(kTitlePicking);
  list.LockWindowUpdate();
  KeepMatchingRows(list, column, match, exact);
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
  allShown = false;
}

void MainWindow::OnViewFind() {
  FindQuery query;
  if (!AskFieldQuery(kFindCaption, query.column, query.match, query.exact))
    return;
  listCommands.Find(std::move(query));
}

void MainWindow::OnViewDuplicates() {
  if (duplicatesDialog.DoModal() == IDCANCEL)
    return;
  int32_t k = duplicatesDialog.GetSelection();
  if (!IsColumnOf(*table, k))
    return;
  LongWork work(*this);
  SetWindowText(kTitlePickingDuplicates);
  list.LockWindowUpdate();
  KeepDuplicateRows(list, k);
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
  allShown = false;
}
