// Runs the program on the headless backend and plays a user from a script, printing what the
// user would see. The steps and the output lines are the contract of `lintaro-script`.
#pragma once

#include <deque>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "platform/headless/HeadlessBackend.h"

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
  struct DialogAnswer {
    enum Kind { Ok, Cancel, Fail } kind = Ok;
    std::optional<int> field;
    bool exact = false;
    std::optional<std::string> match;
  };
  struct FileAnswer {
    bool ok = false;
    std::string path;
  };
  enum class StepResult { Done, Message, Stop };

  bool ReadLine(std::string& line);
  StepResult Step(const std::string& line, MSG& msg);
  StepResult WindowStep(const std::string& verb, const std::string& rest, MSG& msg);
  bool ParseDialogAnswer(const std::string& rest, DialogAnswer& answer);
  void Start(const std::string& tail);
  void Dump();
  bool AnswerFieldChooser(CDialog& dialog, MSG& msg);
  StepResult Unparsable();
  MainWindow* Window() const;
  static bool IsFieldChooser(const CDialog& dialog);
  std::string Escape(const std::string& text) const;

  std::istream& script_;
  std::ostream& out_;
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
