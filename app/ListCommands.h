// The list's own commands, which get data out of the program and read wide rows: copying rows,
// saving them, a row's details, going to a row and finding again. They sit in the list's context
// menu and on its keys, each declared once in the command table, and the main window routes
// their commands here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CmdTarget.h"

class CMenu;
class CWnd;
class MainWindow;
struct NMHDR;

// What Find looks for, as the user asked for it: a column, the match in every form of bytes that
// shows what was typed, and whether the match is exact.
struct FindQuery {
  int32_t column = 0;
  std::vector<std::string> match;
  bool exact = false;
};

class ListCommands : public CCmdTarget {
 public:
  explicit ListCommands(MainWindow& window) : window_(window) {}

  // What the list tells the window: a key that reached it, a double-click on it, and a request
  // for its context menu (from `window`, at `point` on the screen, or (-1, -1) from the keyboard).
  void OnListKeyDown(NMHDR* notification, LRESULT* result);
  void OnListDoubleClick(NMHDR* notification, LRESULT* result);
  void OnContextMenu(CWnd* window, POINT point);

  // Selects the next match of `query` below the selection, and keeps it for Find next.
  void Find(FindQuery query);

 protected:
  void OnEditCopyRow();
  void OnEditCopyRows();
  void OnFileSaveRows();
  void OnViewRowDetails();
  void OnViewGoToRow();
  void OnViewFindNext();
  // Opens the recent file at `index`, most recent first, as Open would.
  template <size_t index>
  void OnFileMruFile() {
    OpenRecentFile(index);
  }

  DECLARE_MESSAGE_MAP()

 private:
  // The context menu, as the resource has it, and the recent files under it.
  std::unique_ptr<CMenu> ContextMenu() const;
  void OpenRecentFile(size_t index);
  // Runs a command as a key does: past help mode, and never without a file.
  void RunAsKey(unsigned id);
  // The selected item; -1, with a box that says so, when there is none.
  int SelectedItemOrSay();
  void Say(const char* text, const char* caption);

  MainWindow& window_;
  std::optional<FindQuery> lastFind_;
};
