// Runs the program on the headless backend and plays a user from a script, printing what the
// user would see. The steps and the output lines are the contract of `lintaro-script`.
#pragma once

#include <deque>
#include <istream>
#include <ostream>
#include <string>

#include "platform/DropFiles.h"
#include "platform/headless/HeadlessBackend.h"
#include "tools/ScriptSession.h"

class MainWindow;

class ScriptDriver : public HeadlessBackend {
 public:
  ScriptDriver(std::istream& script, std::ostream& out, std::ostream& err, std::string programPath);

  // Runs every step: 0 when all ran, 2 for a line that cannot be parsed.
  int Run();

  // Backend.
  int MessageBox(CWnd& owner, const std::string& text, const std::string& caption,
                 UINT type) override;
  int RunFileDialog(CFileDialog& dialog) override;
  UINT TrackPopupMenu(const CMenu& menu, CWnd& owner, POINT where) override;
  void ShowDialogWindow(CDialog& dialog) override;
  void WindowTextChanged(CWnd& window) override;

 protected:
  bool CanShow(CDialog& dialog) override;
  bool NextMessage(CDialog& dialog, MSG& msg) override;

 private:
  // The messages that carry a step for the main window, in order.
  std::deque<MSG> WindowMessages(const ScriptStep& step, MainWindow& window);
  // A right-click on item `item` of the list, or below its last row (-1).
  static std::deque<MSG> RightClick(MainWindow& window, int item);
  bool AnswerDialog(CDialog& dialog, MSG& msg);
  void AnswerFieldChooser(CDialog& dialog, int& button);
  void AnswerGoToRow(CDialog& dialog, int& button);
  int RunSaveDialog(CFileDialog& dialog);

  ScriptSession session_;
  CDialog* freshDialog_ = nullptr;
  // The files of the last drop step, alive while its message is handled.
  DropFiles drop_;
  std::deque<MSG> pending_;
};
