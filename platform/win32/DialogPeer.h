// A dialog's real window: the program's main window or one of its modal dialogs, made from the
// dialog's template with the menu bar that the platform holds. It shows the platform state of the
// dialog and its controls, and passes what the user does to the dialog as the messages its modal
// loop would see: every message for the window goes through the program's pre-translation first.
#pragma once

#include <memory>
#include <vector>

#include "platform/WindowPeer.h"
#include "platform/win32/native/DialogWindow.h"
#include "platform/win32/native/MenuBar.h"
#include "platform/win32/native/MessageFilter.h"
#include "platform/win32/native/ModalLoop.h"
#include "platform/win32/native/WorkIndicator.h"

class CDialog;
class CWnd;
class ControlPeer;
class IconCache;
class TextMeasure;

class DialogPeer : public WindowPeer, public native::WindowEvents, public native::MessageFilter {
 public:
  // The window shows icons from `icons`, and its list gives `measure` its font.
  DialogPeer(IconCache& icons, TextMeasure& measure, CDialog& dialog);
  ~DialogPeer() override;
  DialogPeer(const DialogPeer&) = delete;
  DialogPeer& operator=(const DialogPeer&) = delete;

  CDialog& Dialog() const { return dialog_; }
  native::DialogWindow& Window() { return window_; }
  native::Handle Handle() const { return window_.Window(); }

  // Makes the window, hidden, and the peers of its controls; false when the system cannot.
  bool Create(native::Handle owner);
  // Shows it where and as the platform has placed it, with the focus on its first control.
  void Show();
  // Runs the modal loop with `owner` disabled: true when the dialog ended, false when the
  // process is asked to quit or the window is gone.
  bool RunLoop(native::Handle owner);
  void EndLoop() { loop_.End(0); }

  // The message being offered to the program, while it is: the accelerator table translates it.
  const native::Message* Offered() const { return offered_; }
  // Where the window paints, while it does.
  native::PaintSurface* Surface() const { return surface_; }
  // Whether the system command being handled is left to the window system's default handling;
  // true marks it so.
  bool LeaveSystemCommandToDefault(unsigned command);

  // State to show.
  void TextChanged() override;
  void RectChanged() override;
  void IconChanged() override;
  void MenuChanged() override;
  void DropTargetChanged() override;
  void Redraw() override;
  void WorkChanged(bool running) override;
  void ProgressChanged(int filled) override;
  // Long work runs: draws what waits to be drawn, the controls only before the work has begun.
  void DrawPending();

  // What the window reports.
  bool OnCommand(int id, int code, native::Handle control) override;
  bool OnSysCommand(unsigned command) override;
  bool OnContextMenu(native::Handle window, int x, int y) override;
  void OnSize(unsigned type, int width, int height) override;
  void OnMove() override;
  bool OnPaint(native::PaintSurface& surface) override;
  void OnDropFiles(const std::vector<std::string>& files) override;
  native::Handle DragIcon() override;
  bool PreTranslate(const native::Message& message) override;

 private:
  struct Control {
    native::Handle window;
    CWnd* platform;
    ControlPeer* peer;  // null for a list
  };

  void MakeControlPeers();
  const Control* ControlOf(native::Handle window) const;
  // Whether the key belongs to the control that has it, not to the dialog: Enter and Escape in a
  // combo box whose list is dropped down.
  bool KeyStaysWithControl(const native::Message& message, const Control* control) const;
  void ApplyPlacement();
  // The user moved, sized, minimised or maximised the window: the platform hears of it.
  void ReportPlacement();

  IconCache& icons_;
  TextMeasure& measure_;
  CDialog& dialog_;
  native::DialogWindow window_;
  native::MenuBar menu_;
  native::ModalLoop loop_;
  std::vector<std::unique_ptr<WindowPeer>> peers_;
  std::vector<Control> controls_;
  size_t systemMenuRows_ = 0;
  const native::Message* offered_ = nullptr;
  native::PaintSurface* surface_ = nullptr;
  unsigned systemCommand_ = 0;  // the one being handled, or 0
  bool systemDefault_ = false;
  bool shown_ = false;
  bool applying_ = false;  // the window is being given the platform's placement
  bool working_ = false;   // long work runs
  native::WorkIndicator work_;
};
