// Runs the program on the headless backend and plays a user from a script, printing what the
// user would see. The steps and the output lines are the contract of `lintaro-script`.
#pragma once

#include <deque>
#include <istream>
#include <ostream>
#include <string>

#include "platform/headless/HeadlessBackend.h"
#include "tools/ScriptPrinter.h"
#include "tools/ScriptStep.h"

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
  void ShowDialogWindow(CDialog& dialog) override;
  void WindowTextChanged(CWnd& window) override;

 protected:
  bool CanShow(CDialog& dialog) override;
  bool NextMessage(CDialog& dialog, MSG& msg) override;

 private:
  enum class Outcome { Done, Message, Stop };

  // The next step line that is not empty or a comment.
  bool ReadLine(std::string& line);
  Outcome Play(const std::string& line, MSG& msg);
  // A step for the main window: the message that carries it, or what the step printed.
  Outcome WindowStep(const ScriptStep& step, MSG& msg);
  void Start(const std::string& tail);
  void SetRegistryValue(const ScriptStep& step);
  bool AnswerDialog(CDialog& dialog, MSG& msg);
  void AnswerFieldChooser(CDialog& dialog, int& button);
  Outcome Unparsable();
  MainWindow* Window() const;
  static bool IsFieldChooser(const CDialog& dialog);

  std::istream& script_;
  ScriptPrinter print_;
  std::ostream& err_;
  std::string programPath_;
  int lineNumber_ = 0;
  int status_ = 0;
  bool running_ = false;
  bool killed_ = false;
  CDialog* freshDialog_ = nullptr;
  std::deque<DialogAnswer> dialogAnswers_;
  std::deque<FileAnswer> fileAnswers_;
  NMLISTVIEW columnClick_;
};
