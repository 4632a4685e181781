// The program's one window: a resizable dialog with the menu bar and the list of rows.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/DuplicatesDialog.h"
#include "app/HelpTable.h"
#include "app/ListCommands.h"
#include "platform/Accelerators.h"
#include "platform/Archive.h"
#include "platform/Dialog.h"
#include "platform/DropFiles.h"
#include "platform/Resources.h"
#include "settings/RecentFileList.h"
#include "table/TableFile.h"
#include "view/RowListView.h"

class MainWindow : public CDialog {
 public:
  MainWindow();
  ~MainWindow() override;

  // Opens the file as Open does with the name the user chose.
  void OpenFile(std::string file) {
    path = std::move(file);
    LoadTable();
  }
  void LoadTable();
  void CloseTable();
  // False when the list has no memory for every row.
  bool ListAllRows();

  // Settings: the "Save settings on exit" check and the window's placement.
  void Serialize(CArchive& ar);
  void LoadSettings();
  bool SaveSettings();

  BOOL DestroyWindow() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  std::unique_ptr<TableFile> table;
  std::string path;
  RowListView list;
  HICON icon = nullptr;
  HelpTable helpTable;
  DuplicatesDialog duplicatesDialog;
  bool allShown = false;
  HACCEL accelerators = nullptr;
  RecentFileList recentFiles;
  ListCommands listCommands{*this};

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The list's own commands are routed on to `listCommands`.
  bool OnCmdMsg(UINT id, int code) override {
    return CDialog::OnCmdMsg(id, code) || listCommands.OnCmdMsg(id, code);
  }

  void Layout();
  void OnSysCommand(UINT command, LPARAM parameter);
  void OnPaint();
  LRESULT OnQueryDragIcon();
  void OnSize(UINT type, int width, int height);
  void OnHelpAbout();
  void OnFileOpen();
  void OnFileExit();
  // A file dropped on the window opens as one chosen with Open does; of several, the first.
  void OnDropFiles(HDROP drop);

  // Row commands.
  void OnViewAll();
  void OnViewHeaders();
  void OnViewInfo();
  void OnViewPick();
  void OnViewFind();
  void OnViewDuplicates();

  // Check toggles.
  void OnOptionsSaveSettings();
  void OnHelpOnline();

  // File-type registration.
  void OnOptionsRegister();
  void OnOptionsUnregister();

  // The list's keys, double-clicks and context menu.
  void OnListKeyDown(NMHDR* notification, LRESULT* result) {
    listCommands.OnListKeyDown(notification, result);
  }
  void OnListDoubleClick(NMHDR* notification, LRESULT* result) {
    listCommands.OnListDoubleClick(notification, result);
  }
  void OnContextMenu(CWnd* window, POINT point) { listCommands.OnContextMenu(window, point); }

  DECLARE_MESSAGE_MAP()

 private:
  void ToggleCheck(UINT id);
  bool IsChecked(UINT id) const;
  int ShowAbout();
  void SetTitleToPath() { SetWindowText(path); }
  // The rows do not fit the memory that is left: the file is given up as one that cannot be
  // opened, and an empty table stays current, as after a failed load. `title` is shown then.
  void GiveUpTable(const std::string& title);
  void RelistAllRows();
  // Asks Pick or Find for its column, match and exact choice; false when the command ends here.
  // The match comes in every form of bytes that shows what the user typed.
  bool AskFieldQuery(const char* caption, int32_t& column, std::vector<std::string>& match,
                     bool& exact);
  // Another program cut the file short while it was shown: its lost rows read as empty from then
  // on, and the user hears of it once, at the next message after it was found.
  void TellIfFileChanged();

  bool changeTold_ = false;
};
