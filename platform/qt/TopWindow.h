// A dialog's window: the program's main window or one of its modal dialogs, built from the
// dialog's template. It shows the platform state of the dialog and its controls, and passes the
// user's actions to the dialog as the messages its modal loop would see.
#pragma once

#include <QDialog>
#include <vector>

#include "platform/Win32.h"
#include "platform/WindowPeer.h"

class CDialog;
class ControlPeer;
class FileDropTarget;
class MenuBar;
class QEventLoop;
class WorkOverlay;

class TopWindow : public QDialog, public WindowPeer {
  Q_OBJECT

 public:
  // `owner` is the window of the dialog's owner, or null for a window of its own.
  TopWindow(CDialog& dialog, QWidget* owner);
  ~TopWindow() override;

  CDialog& Dialog() const { return dialog_; }
  // The area below the menu bar that holds the controls: the dialog's client area.
  QWidget* Client() const { return client_; }
  MenuBar* Menus() const { return menuBar_; }
  // The widget that shows the control with this id, or null.
  QWidget* WidgetOf(int controlId) const;
  int MenuBarHeight(int width) const;

  // Whether the dialog takes user actions: it runs and has not ended.
  bool Accepting() const;
  // Passes a message through the dialog's modal loop; a null hwnd means the dialog itself. While
  // long work runs it waits, as input waits in the window system's queue.
  void Feed(MSG msg);
  // Passes a key press through the loop; Alt+Space then opens the system menu.
  void FeedKeyDown(const MSG& msg);
  // Shows the system menu at `where`, in global coordinates; a pick reaches the dialog as
  // WM_SYSCOMMAND.
  void ShowSystemMenu(const QPoint& where);

  // Shows the window where and as the platform has placed it.
  void ShowFromPlatform();
  // Runs a Qt event loop until EndLoop; false when it ended for another reason (the application
  // is quitting).
  bool RunLoop();
  void EndLoop();

  // Platform state to show.
  void TextChanged() override;
  void RectChanged() override;
  void IconChanged() override;
  void MenuChanged() override;
  void DropTargetChanged() override;
  void WorkChanged(bool running) override;
  void ProgressChanged(int filled) override;
  void Redraw() override { update(); }

  // The window's title as Qt must be told it so that it shows the text unchanged.
  static QString TitleText(const std::string& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;

 private:
  static QRect OnAScreen(const QRect& rect);
  bool IsOwned() const;
  void BuildControls();
  // The peer whose widget is `object` or holds it, or null.
  ControlPeer* PeerHolding(const QObject* object) const;
  void LayOutFrame();
  void RequestClose();
  void FeedKey(UINT key, Qt::KeyboardModifiers modifiers);
  void FocusFirstTabStop();
  // The user moved, sized, minimised or maximised the window: the platform hears of it.
  void ReportPlacement();
  // Qt takes a request to maximise the window for done at once, but only the window manager
  // makes it so, later, and with none (a bare X server) nothing changes on the screen. So the
  // window counts as maximised only once its size is no longer its normal size (a work area
  // could tell more, but Wayland reports none); until then its place is its normal place, and a
  // move is a move of it.
  bool ShownMaximized() const;

  CDialog& dialog_;
  MenuBar* menuBar_ = nullptr;
  FileDropTarget* dropTarget_;
  WorkOverlay* workOverlay_;
  QWidget* client_ = nullptr;
  std::vector<ControlPeer*> peers_;  // in template order; the widgets own them
  QEventLoop* loop_ = nullptr;
  bool shown_ = false;
  bool applying_ = false;  // Qt is being told the platform's placement
  bool destroying_ = false;
};
