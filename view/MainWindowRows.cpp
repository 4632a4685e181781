// The main window's row view: loading and closing a table, and All, Headers and Info.
#include <cstdio>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "app/Strings.h"
#include "table/TableFile.h"

namespace {
constexpr int kInitialColumnWidth = 100;
}

void MainWindow::ListAllRows() {
  list.SetItemCount(list.GetItemCount() + table->DataRowCount());
  for (int32_t i = 0; i < table->DataRowCount(); ++i) {
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.iSubItem = 0;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(table->DataRow(i));
    list.InsertItem(&item);
  }
}

void MainWindow::LoadTable() {
  if (table)
    CloseTable();
  if (path.empty())
    return;
  table = new TableFile;
  if (!table->Parse(path.c_str(), false)) {
    MessageBox(kFailedToOpen, kCaptionError, MB_OK);
    return;
  }
  SetWindowText(kTitleLoading);
  list.LockWindowUpdate();
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  table->headers = true;
  // The check mark shows the mode the new table starts in, also after Headers turned it off.
  GetMenu()->CheckMenuItem(ID_VIEW_HEADERS, MF_BYCOMMAND | MF_CHECKED);
  for (int32_t i = 0; i < table->columnCount; ++i) {
    list.InsertColumn(i, table->ColumnName(i), LVCFMT_LEFT, kInitialColumnWidth, -1);
  }
  ListAllRows();
  for (int32_t i = 0; i < table->columnCount; ++i)
    list.SetColumnWidth(i, LVSCW_AUTOSIZE);
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
  allShown = true;
}

void MainWindow::CloseTable() {
  if (!table)
    return;
  list.DeleteAllItems();
  for (int i = list.GetColumnCount() - 1; i >= 0; --i)
    list.DeleteColumn(i);
  delete table;
  table = nullptr;
  SetWindowText(kTitleNoFile);
}

void MainWindow::OnViewAll() {
  if (allShown)
    return;
  SetWindowText(kTitleDisplayingAll);
  list.LockWindowUpdate();
  list.DeleteAllItems();
  ListAllRows();
  allShown = true;
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
}

void MainWindow::OnViewHeaders() {
  table->headers = !table->headers;
  GetMenu()->CheckMenuItem(ID_VIEW_HEADERS,
                           MF_BYCOMMAND | (table->headers ? MF_CHECKED : MF_UNCHECKED));
  list.LockWindowUpdate();
  SetWindowText(kTitleDisplayingAll);
  for (int32_t i = 0; i < table->columnCount; ++i) {
    list.DeleteColumn(i);
    list.InsertColumn(i, table->ColumnName(i), LVCFMT_LEFT, -1, -1);
    list.SetColumnWidth(i, LVSCW_AUTOSIZE);
  }
  list.DeleteAllItems();
  ListAllRows();
  allShown = true;
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
}

void MainWindow::OnViewInfo() {
  char text[160];
  std::snprintf(text, sizeof text, kInfoFormat, static_cast<long>(table->DataRowCount()),
                static_cast<long>(table->columnCount), static_cast<long>(list.GetItemCount()));
  MessageBox(text, kCaptionInfo, MB_OK);
}
