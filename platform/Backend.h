// What a backend does for the platform: it shows the state that the platform objects hold and
// feeds the user's actions in. The headless backend plays a scripted user; the Qt backend shows
// real windows. The program's code never sees which one runs.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Win32.h"
#include "platform/WindowPeer.h"
#include "platform/Wnd.h"

class CDialog;
class CFileDialog;
class CMenu;
class ClipboardText;
struct AcceleratorTemplate;
struct Icon;

class Backend {
 public:
  virtual ~Backend() = default;

  // The dialog's window and its controls exist as platform objects; make it visible. False means
  // the window system cannot show it, and the modal run fails with -1.
  virtual bool CreateDialogWindow(CDialog& dialog) = 0;
  virtual void ShowDialogWindow(CDialog& dialog) = 0;
  // Feeds messages to the dialog until it ends (true) or until the process is gone (false).
  virtual bool RunModalLoop(CDialog& dialog) = 0;
  virtual void EndModalLoop(CDialog& dialog) = 0;
  virtual void DestroyDialogWindow(CDialog& dialog) = 0;

  virtual int MessageBox(CWnd& owner, const std::string& text, const std::string& caption,
                         UINT type) = 0;
  virtual int RunFileDialog(CFileDialog& dialog) = 0;
  // Shows a pop-up menu for `owner` at the screen point `where`, or at the keyboard focus when it
  // is (-1, -1), until the user leaves it: the command of the item picked, or 0.
  virtual UINT TrackPopupMenu(const CMenu& menu, CWnd& owner, POINT where) = 0;
  // Puts the text on the window system's clipboard, in each form that it offers; false when the
  // clipboard cannot be had.
  virtual bool SetClipboardText(CWnd& owner, const ClipboardText& text) = 0;

  // A change of a window's state to show: the window's peer shows it, while the backend shows
  // the window at all. A new kind of change is one more operation of WindowPeer, called here.
  template <typename... Args>
  void Show(CWnd& window, void (WindowPeer::*change)(Args...), Args... args) {
    if (window.peer)
      (window.peer->*change)(args...);
  }
  // The title, which a backend may watch besides showing it (the script driver prints it).
  virtual void WindowTextChanged(CWnd& window) { Show(window, &WindowPeer::TextChanged); }
  virtual void DrawIcon(CWnd& /*window*/, int /*x*/, int /*y*/, const Icon* /*icon*/) {}
  virtual void WaitCursor(bool /*on*/) {}
  // Long work runs (platform/WorkProgress.h): the window system draws what waits to be drawn in
  // the window, now, and does nothing else; the user's input waits.
  virtual void DrawPending(CWnd& /*window*/) {}
  // The window system's own parts of a window: its system menu, shown at the window, whose pick
  // comes back as WM_SYSCOMMAND; and the user moving or sizing it (SC_MOVE, SC_SIZE).
  virtual void ShowSystemMenu(CWnd& /*window*/) {}
  virtual void BeginMoveOrSize(CWnd& /*window*/, UINT /*command*/) {}
  // WM_ICONERASEBKGND: the background of a minimised window, erased as the window system does.
  virtual void EraseIconBackground(CWnd& /*window*/) {}

  // The window system's own handling, for a backend that has one.
  // The key translation of TranslateAccelerator: TRUE or FALSE, or -1 to leave it to the table's
  // own rule (platform/Accelerators.h).
  virtual int TranslateAccelerator(CWnd& /*window*/, const AcceleratorTemplate* /*table*/,
                                   const MSG& /*msg*/) {
    return -1;
  }
  // The default meaning of a system command that the window's handler left to it: true when the
  // window system carries it out, false to leave it to the platform (close, minimise, maximise and
  // restore).
  virtual bool DefaultSystemCommand(CWnd& /*window*/, UINT /*command*/) { return false; }

  // Measures.
  virtual int TextWidth(const char* text, size_t length) = 0;
  // The most that this byte can add to the width of any text it stands in, in 64ths of a pixel
  // (kAdvanceUnits), so that a text is at most as wide as the sum over its bytes, rounded to the
  // nearest pixel. Fonts place characters at fractions of a pixel and round only the whole text.
  static constexpr int kAdvanceUnits = 64;
  virtual int ByteAdvance(unsigned char byte) = 0;
  virtual int SystemMetric(int index) = 0;
  virtual RECT WorkArea() = 0;
  // Pixels per dialog unit times 4 (x) and 8 (y), as the dialog font gives them.
  virtual POINT DialogBaseUnits() = 0;
  // Width of the left/right frame, and height of the top part (caption and menu bar) and bottom
  // frame, of a top-level window.
  virtual RECT NonClientInsets(const CWnd& window) = 0;
};

Backend& CurrentBackend();
void SetBackend(Backend* backend);
