#include "app/MainWindow.h"

#include <cstdio>
#include <utility>

#include "app/AboutDialog.h"
#include "app/Resource.h"
#include "app/Strings.h"
#include "platform/Backend.h"
#include "platform/FileDialog.h"
#include "settings/SettingsSerializer.h"
#include "shell/FileTypeRegistrar.h"
#include "view/LongWork.h"
#include "view/RowOperations.h"

BEGIN_MESSAGE_MAP(MainWindow, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_COMMAND(ID_HELP_ABOUT, OnHelpAbout)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_EXIT, OnFileExit)
ON_COMMAND(ID_VIEW_PICK, OnViewPick)
ON_COMMAND(ID_VIEW_ALL, OnViewAll)
ON_COMMAND(ID_VIEW_FIND, OnViewFind)
ON_COMMAND(ID_VIEW_INFO, OnViewInfo)
ON_COMMAND(ID_VIEW_DUPLICATES, OnViewDuplicates)
ON_COMMAND(ID_VIEW_HEADERS, OnViewHeaders)
ON_COMMAND(ID_OPTIONS_REGISTER, OnOptionsRegister)
ON_WM_SIZE()
ON_COMMAND(ID_OPTIONS_SAVE_SETTINGS, OnOptionsSaveSettings)
ON_COMMAND(ID_HELP_ONLINE, OnHelpOnline)
ON_COMMAND(ID_OPTIONS_UNREGISTER, OnOptionsUnregister)
ON_WM_DROPFILES()
ON_NOTIFY(LVN_KEYDOWN, IDC_ROWS, OnListKeyDown)
ON_NOTIFY(NM_DBLCLK, IDC_ROWS, OnListDoubleClick)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

constexpr int kMargin = 5;
constexpr int kInitialColumnWidth = 100;

MainWindow::MainWindow() : CDialog(IDD_MAIN) {
  icon = LoadIcon(IDR_MAINFRAME);
}

MainWindow::~MainWindow() = default;

void MainWindow::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ROWS, list);
}

BOOL MainWindow::OnInitDialog() {
  CDialog::OnInitDialog();
  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    std::string about = LoadString(IDS_ABOUTBOX);
    if (!about.empty()) {
      systemMenu->AppendMenu(MF_SEPARATOR);
      systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
  }
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  LoadSettings();
  Layout();
  accelerators = LoadAccelerators(IDR_ACCELERATORS);
  DragAcceptFiles(TRUE);
  return TRUE;
}

void MainWindow::Layout() {
  RECT client;
  GetClientRect(&client);
  list.MoveWindow(kMargin, kMargin, client.Width() - 2 * kMargin, client.Height() - 2 * kMargin,
                  TRUE);
}

int MainWindow::ShowAbout() {
  AboutDialog about;
  return about.DoModal();
}

void MainWindow::OnSysCommand(UINT command, LPARAM /*parameter*/) {
  if ((command & 0xFFF0) == IDM_ABOUTBOX) {
    ShowAbout();
    return;
  }
  Default();
}

void MainWindow::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  SendMessage(WM_ICONERASEBKGND);
  Backend& backend = CurrentBackend();
  int cx = backend.SystemMetric(SM_CXICON);
  int cy = backend.SystemMetric(SM_CYICON);
  RECT client;
  GetClientRect(&client);
  int x = (client.Width() - cx + 1) / 2;
  int y = (client.Height() - cy + 1) / 2;
  backend.DrawIcon(*this, x, y, icon);
}

LRESULT MainWindow::OnQueryDragIcon() {
  return reinterpret_cast<LRESULT>(icon);
}

void MainWindow::OnSize(UINT /*type*/, int /*width*/, int /*height*/) {
  Default();
  if (IsWindowVisible())
    Layout();
  RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void MainWindow::OnHelpAbout() {
  ShowAbout();
}

void MainWindow::OnFileOpen() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr);
  dialog.m_ofn.lpstrFilter = kOpenFilter;
  dialog.recentFiles = recentFiles.Files();
  if (!path.empty())
    dialog.m_ofn.lpstrInitialDir = path.c_str();
  if (dialog.DoModal() != IDOK)
    return;
  OpenFile(dialog.GetPathName());
}

void MainWindow::OnDropFiles(HDROP drop) {
  std::string first(DragQueryFileA(drop, 0, nullptr, 0), '\0');
  DragQueryFileA(drop, 0, first.data(), static_cast<UINT>(first.size() + 1));
  DragFinish(drop);
  if (first.empty())
    return;
  OpenFile(std::move(first));
}

void MainWindow::OnFileExit() {
  OnOK();
}

BOOL MainWindow::DestroyWindow() {
  CloseTable();
  SaveSettings();
  return CDialog::DestroyWindow();
}

void MainWindow::Serialize(CArchive& ar) {
  SettingsSerializer(*this, ID_OPTIONS_SAVE_SETTINGS).Serialize(ar);
}

void MainWindow::LoadSettings() {
  recentFiles.ReadList();
  SettingsSerializer(*this, ID_OPTIONS_SAVE_SETTINGS).Load();
}

bool MainWindow::SaveSettings() {
  recentFiles.Save(IsChecked(ID_OPTIONS_SAVE_SETTINGS));
  return SettingsSerializer(*this, ID_OPTIONS_SAVE_SETTINGS).Save();
}

BOOL MainWindow::PreTranslateMessage(MSG* msg) {
  TellIfFileChanged();
  if (TranslateAccelerator(this, accelerators, msg))
    return TRUE;
  if (!table && !path.empty() && IsWindowVisible())
    LoadTable();
  return CDialog::PreTranslateMessage(msg);
}

void MainWindow::TellIfFileChanged() {
  if (changeTold_ || !table || !table->FileChanged())
    return;
  changeTold_ = true;
  MessageBox(kFileChanged, kCaptionError, MB_OK);
}

bool MainWindow::IsChecked(UINT id) const {
  CMenu* menu = GetMenu();
  return menu && (menu->GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void MainWindow::ToggleCheck(UINT id) {
  CMenu* menu = GetMenu();
  if (!menu)
    return;
  menu->CheckMenuItem(id, MF_BYCOMMAND | (IsChecked(id) ? MF_UNCHECKED : MF_CHECKED));
}

void MainWindow::OnOptionsSaveSettings() {
  ToggleCheck(ID_OPTIONS_SAVE_SETTINGS);
}

void MainWindow::OnHelpOnline() {
  ToggleCheck(ID_HELP_ONLINE);
}

// File-type registration. Both commands are silent.

void MainWindow::OnOptionsRegister() {
  FileTypeRegistrar().RegisterRunningProgram(kQdxExtension, kQdxTypeName, kQdxDescription,
                                             kQdxVerb);
}

void MainWindow::OnOptionsUnregister() {
  FileTypeRegistrar::Unregister(kQdxUnregisterKeys);
}

BOOL MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  WORD id = LOWORD(wParam);
  if (HIWORD(wParam) != NOTIFY_MENU || lParam != 0) {
    // Accelerators skip help mode, but a command that needs a file never runs without one.
    if (HIWORD(wParam) == NOTIFY_ACCELERATOR && lParam == 0 && !table) {
      uint8_t needsFile = 0;
      helpTable.Lookup(id, &needsFile);
      if (needsFile) {
        MessageBox(kOpenFileFirst, kCaptionHelp, MB_OK);
        return -1;
      }
    }
    return CDialog::OnCommand(wParam, lParam);
  }
  if (id == ID_HELP_ONLINE) {
    if (!IsChecked(ID_HELP_ONLINE))
      MessageBox(kHelpModeOn, nullptr, MB_OK);
    return CDialog::OnCommand(wParam, lParam);
  }
  uint8_t needsFile = 0;
  const char* text = helpTable.Lookup(id, &needsFile);
  if (IsChecked(ID_HELP_ONLINE)) {
    MessageBox(text, kCaptionHelp, MB_OK);
    return -1;
  }
  if (needsFile == 1 && !table) {
    MessageBox(kOpenFileFirst, kCaptionHelp, MB_OK);
    return -1;
  }
  return CDialog::OnCommand(wParam, lParam);
}

// Row view: loading and closing a table, and All, Headers and Info.

bool MainWindow::ListAllRows() {
  return ::ListAllRows(list, *table);
}

void MainWindow::GiveUpTable(const std::string& title) {
  list.DeleteAllItems();
  for (int i = list.GetColumnCount() - 1; i >= 0; --i)
    list.DeleteColumn(i);
  table = std::make_unique<TableFile>(kColumnTitleFormat);
  list.SetTable(table.get());
  CWnd::UnlockWindowUpdate();
  SetWindowText(title);
  MessageBox(kFailedToOpen, kCaptionError, MB_OK);
}

void MainWindow::LoadTable() {
  LongWork work(*this);
  if (table)
    CloseTable();
  if (path.empty())
    return;
  table = std::make_unique<TableFile>(kColumnTitleFormat);
  list.SetTable(table.get());
  changeTold_ = false;
  if (!table->Parse(path.c_str(), false, list.LoadScan())) {
    // A recent file that no longer opens is not offered again.
    recentFiles.Remove(path);
    MessageBox(kFailedToOpen, kCaptionError, MB_OK);
    return;
  }
  std::string before = GetWindowText();
  SetWindowText(kTitleLoading);
  list.LockWindowUpdate();
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  table->headers = true;
  // The check mark shows the mode the new table starts in, also after Headers turned it off.
  GetMenu()->CheckMenuItem(ID_VIEW_HEADERS, MF_BYCOMMAND | MF_CHECKED);
  for (int32_t i = 0; i < table->columnCount; ++i)
    list.InsertColumn(i, table->ColumnName(i), LVCFMT_LEFT, kInitialColumnWidth, -1);
  if (!ListAllRows()) {
    GiveUpTable(before);
    return;
  }
  for (int32_t i = 0; i < table->columnCount; ++i)
    list.SetColumnWidth(i, LVSCW_AUTOSIZE);
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
  allShown = true;
  recentFiles.Add(path);
}

void MainWindow::CloseTable() {
  if (!table)
    return;
  list.DeleteAllItems();
  for (int i = list.GetColumnCount() - 1; i >= 0; --i)
    list.DeleteColumn(i);
  list.SetTable(nullptr);
  table.reset();
  SetWindowText(kTitleNoFile);
}

void MainWindow::OnViewAll() {
  if (allShown)
    return;
  LongWork work(*this);
  SetWindowText(kTitleDisplayingAll);
  list.LockWindowUpdate();
  RelistAllRows();
}

// The end of All and Headers: the list again from the table, and the window drawn again.
void MainWindow::RelistAllRows() {
  list.DeleteAllItems();
  if (!ListAllRows()) {
    GiveUpTable(kTitleNoFile);
    return;
  }
  allShown = true;
  CWnd::UnlockWindowUpdate();
  SetTitleToPath();
}

void MainWindow::OnViewHeaders() {
  LongWork work(*this);
  table->headers = !table->headers;
  GetMenu()->CheckMenuItem(ID_VIEW_HEADERS,
                           MF_BYCOMMAND | (table->headers ? MF_CHECKED : MF_UNCHECKED));
  list.LockWindowUpdate();
  SetWindowText(kTitleDisplayingAll);
  // Retitling in place ends as deleting and inserting the column again would, without moving
  // every later column twice: on a file of many columns that would cost columns x columns.
  for (int32_t i = 0; i < table->columnCount; ++i) {
    list.SetColumn(i, table->ColumnName(i), -1);
    list.SetColumnWidth(i, LVSCW_AUTOSIZE);
  }
  RelistAllRows();
}

void MainWindow::OnViewInfo() {
  char text[160];
  std::snprintf(text, sizeof text, kInfoFormat, static_cast<long>(table->DataRowCount()),
                static_cast<long>(table->columnCount), static_cast<long>(list.GetItemCount()));
  MessageBox(text, kCaptionInfo, MB_OK);
}
