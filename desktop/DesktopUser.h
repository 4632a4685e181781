// What a user does in the desktop program's windows, done with Qt's own mouse and key events on
// the real widgets. Where a step names something that no widget offers (a column past the last,
// a system command that is not on the menu), the message that the step stands for goes to the
// window directly, as another program could send it.
#pragma once

#include <functional>
#include <string>

#include "platform/Win32.h"

class CListCtrl;
class ListViewPeer;
class QWidget;
class TopWindow;

class DesktopUser {
 public:
  static void Click(QWidget* widget);
  // Types `text`, bytes as the program holds them, one key press per character.
  static void Type(QWidget* widget, const std::string& text);
  // Picks entry `index` from a combo box's list, which it opens and clicks in.
  static void PickEntry(QWidget* combo, int index);

  // In the main window.
  static void PickMenuCommand(TopWindow& top, UINT command);
  // Right-clicks the menu bar's empty part and picks the command from the system menu.
  static void PickSystemCommand(TopWindow& top, UINT command);
  // Runs `open`, which opens a pop-up menu, and picks the command from it, or leaves it with Escape
  // for command 0; false when the menu did not open or offered no such command to pick.
  static bool PickFromMenu(UINT command, const std::function<void()>& open);
  static void Place(TopWindow& top, UINT show, const RECT& normal);
  // Drags the file from the desktop and drops it in the middle of the window.
  static void DropFile(TopWindow& top, const std::string& path);
  // In the list: `shown` is what shows the platform's `list`.
  static void PressKey(ListViewPeer& shown, UINT key, bool ctrl, bool shift, bool alt);
  static void ClickTitle(ListViewPeer& shown, CListCtrl& list, int column);
  // Clicks item `item` with the left button, the right one (which opens the list's context menu)
  // or twice, scrolling it into view first; -1 clicks below the last row.
  enum class ItemClick { Left, Right, Double };
  static void ClickItem(ListViewPeer& shown, CListCtrl& list, int item,
                        ItemClick how = ItemClick::Left);

  // Answers a file dialog: types the path and presses Open, or presses Cancel.
  static void ChooseFile(QWidget* dialog, bool ok, const std::string& path);
  // Presses the only button of a message box.
  static void ConfirmBox(QWidget* box);
  // Answers a box that asks a question with Yes or No.
  static void AnswerQuestion(QWidget* box, bool yes);
  // Leaves a window the way Escape does.
  static void Dismiss(QWidget* window);
};
