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
class CMenu;
class MainWindow;

class ScriptSession {
 public:
  ScriptSession(std::istream& script, std::ostream& out, std::ostream& err,
                std::string programPath);

  // What the clipboard holds, as UTF-8, or none; each backend reads its own.
  using ClipboardReader = std::function<std::optional<std::string>()>;

  // Plays the whole script, running the program on `backend`: 0 when every step ran, 2 for a
  // line that cannot be parsed.
  int Run(Backend& backend, ClipboardReader readClipboard);

  // While the program runs: plays steps until one that the backend must play in the main window
  // (menu, key, close, syscommand, click-title, select, right-click, double-click, placement).
  // False when the script has
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
  // A Save dialog opens: prints it, and hands out the next answer, its path as the dialog takes
  // it; when that file exists and the dialog asks whether to replace it, prints the question.
  std::optional<SaveAnswer> TakeSaveAnswer(const CFileDialog& dialog);
  // The Go to row dialog opens: prints its label, and hands out the next answer.
  std::optional<GoToAnswer> TakeGoToAnswer(CDialog& dialog);
  // A dialog that shows a text opens (a row's details): prints it.
  void ShowText(CDialog& dialog);

  // The `menu` step being played picks `command` from the context menu that it opens.
  void PickWithStep(unsigned command) { stepPick_ = command; }
  // A context menu opens: the command that the user picks from it, which the menu offers: the
  // step's, else the next `pick` answer. None when none is queued, which prints the menu, or when
  // the menu lacks it, which prints an error: the user then leaves the menu.
  std::optional<unsigned> TakePick(const CMenu& menu);
  // Whether a `menu` step picks the command from the window's menu bar; the list's commands are
  // picked from its context menu.
  static bool OnMenuBar(const CWnd& window, unsigned command);

 private:
  enum class Outcome { Done, WindowStep, Stop };

  // The next step line that is not empty or a comment.
  bool ReadLine(std::string& line);
  Outcome Play(const std::string& line, ScriptStep& step);
  Outcome Unparsable();
  // The next answer of its kind; none, printed as an error, when none is queued.
  template <class Answer>
  std::optional<Answer> Next(std::deque<Answer>& answers);
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
  std::deque<SaveAnswer> saveAnswers_;
  std::deque<GoToAnswer> goToAnswers_;
  std::deque<unsigned> picks_;
  std::optional<unsigned> stepPick_;
  ClipboardReader readClipboard_;
};
