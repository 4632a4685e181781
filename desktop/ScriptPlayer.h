// lintaro-script --desktop: plays a script on the desktop backend. The program runs in its real
// windows; each step for the main window is played with Qt's own events on its menus, keys, list
// and header once the program waits in its loop, and each window that the program opens is
// answered by filling in its widgets and pressing its buttons. What is printed is what the
// headless driver prints.
#pragma once

#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/QtBackend.h"
#include "tools/ScriptStep.h"

class ScriptSession;
class QWidget;

class ScriptPlayer : public QtBackend {
 public:
  explicit ScriptPlayer(ScriptSession& session);
  ~ScriptPlayer() override;

  bool CreateDialogWindow(CDialog& dialog) override;
  void ShowDialogWindow(CDialog& dialog) override;
  bool RunModalLoop(CDialog& dialog) override;
  int MessageBox(CWnd& owner, const std::string& text, const std::string& caption,
                 UINT type) override;
  int RunFileDialog(CFileDialog& dialog) override;
  UINT TrackPopupMenu(const CMenu& menu, CWnd& owner, POINT where) override;
  void WindowTextChanged(CWnd& window) override;

 private:
  using Answer = std::function<void(QWidget* window)>;
  enum class Stage { Answering, Answered, Dismissed };
  struct Seen {
    QPointer<QWidget> window;
    Stage stage;
  };

  // Runs every millisecond inside the program's loops: answers a modal window that has opened,
  // or plays the next step once the program waits in its main loop.
  void Poll();
  void Respond(QWidget* modal);
  bool Idle() const;
  void PlayNext();
  void PlayStep(const ScriptStep& step, TopWindow& top);
  // The answer for a window that the program has just shown, as the script has it.
  Answer AnswerFor(CDialog& dialog);
  void AnswerFieldChooser(CDialog& dialog);
  void AnswerGoToRow(CDialog& dialog);

  ScriptSession& session_;
  QTimer poll_;
  // Answers kept for the program's own windows, and for the next message box or file dialog.
  std::vector<std::pair<QPointer<QWidget>, Answer>> forWindow_;
  std::vector<Answer> forNext_;
  std::vector<Seen> seen_;
  bool busy_ = false;
  // The script has ended while the program runs: the user is gone, as if the process were killed.
  bool userGone_ = false;
};
