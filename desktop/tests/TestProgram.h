// Runs the desktop program in-process for a test: starts it, waits for its first screen, hands
// control to a scenario inside the program's own loop, and makes sure it ends.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class ListModel;
class ListViewPeer;
class MainWindow;
class QAction;
class QWidget;
class QtBackend;
class TopWindow;

// Answers each modal window that opens while it lives: message boxes with OK, file dialogs and
// the program's own dialogs as `answer` says (by default: cancelled).
class ModalWatcher {
 public:
  using Answer = std::function<void(QWidget* modal)>;
  explicit ModalWatcher(Answer answer = nullptr);
  ~ModalWatcher();

  // Answers a field chooser: picks entry `field` from its list with the keyboard, types `match`,
  // and presses OK.
  static Answer ChooseField(int field, const QString& match = QString());

  // One line per modal seen: "box CAPTION: TEXT", "file dialog", or "dialog TITLE".
  QStringList seen;

 private:
  void Poll();

  Answer answer_;
  std::vector<QPointer<QWidget>> handled_;
  class QTimer* timer_;
};

class TestProgram {
 public:
  using Scenario = std::function<void(TestProgram& program)>;

  // Runs lintaro with these arguments. `scenario` runs once the window is up and the file named
  // on the command line, if any, is listed.
  static void Run(const std::vector<std::string>& arguments, const Scenario& scenario);

  MainWindow& Window() const;
  TopWindow& Top() const;
  ListViewPeer& List() const;
  ListModel& Model() const;
  // Whether the program's main loop has ended.
  bool Ended() const;
  // The text of every cell on the page, row by row, cells joined by "|".
  QStringList Rows() const;
  // The cells of one column of Rows().
  QStringList Column(int column) const;
  // The menu action for a command id.
  QAction* Action(unsigned id) const;
  // Gives the main window the keyboard again, as a modal dialog that closed leaves it without.
  void Activate() const;
  // Presses a key in the list, where the keyboard focus is.
  void Key(int key, bool ctrl = false) const;

 private:
  QtBackend* backend_ = nullptr;
};
