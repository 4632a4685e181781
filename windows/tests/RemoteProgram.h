// lintaro.exe run as a user runs it, watched and driven from another process with the messages
// that the window system would send it, and read back the way a user sees it: window titles, the
// list's items and texts, the boxes it shows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Polls `done` until it holds or `ms` milliseconds have passed.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);

std::string WindowText(HWND window);

class RemoteProgram {
 public:
  RemoteProgram() = default;
  ~RemoteProgram();
  RemoteProgram(const RemoteProgram&) = delete;
  RemoteProgram& operator=(const RemoteProgram&) = delete;

  // lintaro.exe beside the test program, with `tail` after its quoted name on the command line.
  bool Start(const std::string& tail);
  // The same for the program at `path`, run in `folder`.
  bool Start(const std::string& path, const std::string& tail, const std::string& folder);
  bool WaitForExit(int ms = 10000);
  bool Running() const;

  // The main window, once it shows.
  HWND Main(int ms = 10000);
  // A dialog or message box of the program that shows the caption, once it shows; null if none
  // does within `ms`.
  HWND Dialog(const std::string& caption, int ms = 10000) const;
  // The texts of a message box's or dialog's static controls, joined by '|'.
  static std::string Statics(HWND dialog);
  // A command as the menu sends it, posted to the main window.
  void Command(unsigned id);
  // Keys pressed and released as the keyboard would: to the main window, brought to the front.
  void Keys(std::initializer_list<WORD> keys);

  // The list, read through its own messages, as its wide texts (LVM_GETITEMTEXTW,
  // LVM_GETCOLUMNW) in UTF-8.
  int ItemCount();
  std::string ItemText(int item, int column);
  // Each item's cells of the first `columns` columns, joined by ';'.
  std::vector<std::string> Rows(int columns);
  int Selected();
  std::string ColumnTitle(int column);
  // A click on a column's title, in its middle.
  void ClickTitle(int column);
  // The arrow in a column's title: 1 up, -1 down, 0 none.
  int SortArrow(int column);
  // Drops a file on the main window as the shell does: a drop block in the program's memory,
  // named by WM_DROPFILES.
  void DropFile(const std::string& path);
  // A double-click on an item, near the left end of its row.
  void DoubleClickItem(int item);

 private:
  template <typename Request>
  LRESULT ListText(Request request, UINT message, int index, std::string& text);
  HWND List();

  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
  void* remote_ = nullptr;  // a buffer in the program's memory
};
