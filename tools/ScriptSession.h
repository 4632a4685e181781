// What lintaro-script does on every backend: it reads the script, plays the steps that need no
// window, runs the program on `start`, queues the answers for the windows that the program will
// open, and prints what the user sees. A backend plays the steps for the main window its own way.
#pragma once

#include <deque>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "tools/ScriptPrinter.h"
#include "tools/ScriptStep.h"

class Backend;
class CDialog;
class CFileDialog;
class MainWindow;

class ScriptSession {
 public:
  ScriptSession(std::istream& script, std::ostream& out, std::ostream& err,
                std::string programPath);

  // Plays the whole script, running the program on `backend`: 0 when every step ran, 2 for a
  // line that cannot be parsed.
  int Run(Backend& backend);

  // While the program runs: plays steps until one that the backend must play in the main window
  // (menu, key, close, syscommand, click-title, select, placement). False when the script has
  // ended or stopped: the user is gone, and the program ends as if killed.
  bool NextWindowStep(ScriptStep& step);

  // The program's main window while it runs, else null.
  MainWindow* Window() const;
  ScriptPrinter& Print() { return print_; }
  // What the list's titles show of its order, as the backend draws them: the column with the
  // arrow (-1 for none) and the arrow. Without a reader, the platform list's own state.
  using SortArrowReader = std::function<int(MainWindow& window, int* arrow)>;
  void ReadSortArrowWith(SortArrowReader reader) { sortArrowReader_ = std::move(reader); }

  static bool IsFieldChooser(const CDialog& dialog);
  // A field chooser is about to open: true when the next answer says it cannot be shown; that
  // answer is then used up.
  bool TakeDialogFailure();
  // A field chooser has opened and filled its list: prints it, and hands out the next answer;
  // none when none is queued, which is printed as an error.
  std::optional<DialogAnswer> TakeDialogAnswer(CDialog& dialog);
  // A file-open dialog opens: prints it, and hands out the next answer as TakeDialogAnswer does.
  std::optional<FileAnswer> TakeFileAnswer(const CFileDialog& dialog);

 private:
  enum class Outcome { Done, WindowStep, Stop };

  // The next step line that is not empty or a comment.
  bool ReadLine(std::string& line);
  Outcome Play(const std::string& line, ScriptStep& step);
  Outcome Unparsable();
  void Start(const std::string& tail);
  static void SetRegistryValue(const ScriptStep& step);

  std::istream& script_;
  ScriptPrinter print_;
  std::ostream& err_;
  std::string programPath_;
  Backend* backend_ = nullptr;
  int lineNumber_ = 0;
  int status_ = 0;
  bool running_ = false;
  bool killed_ = false;
  std::deque<DialogAnswer> dialogAnswers_;
  std::deque<FileAnswer> fileAnswers_;
  SortArrowReader sortArrowReader_;
};
