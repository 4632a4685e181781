// A window: its text, placement, visibility, menu, children and message handling. Top-level
// windows keep screen coordinates; child controls keep coordinates in their parent's client area.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/CmdTarget.h"
#include "platform/Menu.h"
#include "platform/Resources.h"
#include "platform/Win32.h"

class ControlVisitor;
class WindowPeer;

// The message that a window's procedure gets first, before anything is shown: a control sets up
// the state its window class starts with.
constexpr UINT WM_CREATE = 0x0001;

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Text and look.
  void SetWindowText(const std::string& text);
  const std::string& GetWindowText() const { return text_; }
  // The text first, then the other texts of bytes that show the characters the user typed, while
  // the text is still what was typed (an edit box keeps them; see CEdit::TypeForms).
  virtual std::vector<std::string> GetWindowTextForms() const { return {text_}; }
  HICON SetIcon(HICON icon, BOOL big);
  HICON GetIcon(BOOL big) const { return big ? bigIcon_ : smallIcon_; }
  // Whether files dropped on the window reach it as WM_DROPFILES (the WS_EX_ACCEPTFILES style).
  void DragAcceptFiles(BOOL accept = TRUE);

  // Visibility and placement.
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const { return placement_.showCmd == SW_SHOWMINIMIZED; }
  BOOL IsZoomed() const { return placement_.showCmd == SW_SHOWMAXIMIZED; }
  void ShowWindow(UINT showCmd);
  void GetWindowRect(RECT* rect) const;
  void GetClientRect(RECT* rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
  // What the window system reports of a top-level window that the user moved, sized, minimised
  // or maximised: its show state, its normal rectangle on the screen and the size of its client
  // area. A report that differs from the window's placement, or from the client size that the
  // window last heard of in WM_SIZE, becomes its placement, and the window gets WM_SIZE to lay
  // itself out. A report that comes while one is being taken is dropped.
  void ReportPlacement(UINT showCmd, const RECT& normal, POINT clientSize);
  // Whether a report is being taken: the window system shows that placement already.
  bool TakingReport() const { return reporting_; }
  BOOL RedrawWindow(UINT flags);

  // Menus.
  CMenu* GetMenu() const { return menu_.get(); }
  void SetMenu(std::unique_ptr<CMenu> menu) { menu_ = std::move(menu); }
  // The window system's menu of the window (Restore, Move, Size, Minimize, Maximize, Close, as
  // its styles allow), which the program may add to; `revert` drops what was added.
  CMenu* GetSystemMenu(BOOL revert);

  // Relations.
  CWnd* GetParent() const { return parent_; }
  void SetParent(CWnd* parent) { parent_ = parent; }
  int GetDlgCtrlID() const { return id_; }
  CWnd* GetDlgItem(int id) const;
  const std::vector<CWnd*>& Children() const { return children_; }
  DWORD GetStyle() const { return style_; }
  DWORD GetExStyle() const { return exStyle_; }

  // Messages.
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual BOOL DestroyWindow();

  // Drawing lock: at most one window at a time, as LockWindowUpdate allows.
  BOOL LockWindowUpdate();
  static void UnlockWindowUpdate();
  bool IsDrawingLocked() const;

  // A backend keeps its own object for this window here while the window exists.
  WindowPeer* peer = nullptr;

  // Tells `visitor` which kind of control this is.
  virtual void Accept(ControlVisitor& visitor);

  // Creates the window of a child control from a template row: `control` takes the row's id,
  // style, text and place, and starts from the empty state of its class. The second form makes
  // the parent the control's owner.
  void AddControl(CWnd& control, const ControlTemplate& source, RECT pixels);
  void AddControl(std::unique_ptr<CWnd> control, const ControlTemplate& source, RECT pixels);
  void RemoveChildren();

 protected:
  friend class CDialog;
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // A notification that the parent reflects back to the control that sent it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The window system's own handling of a message that no map row claims.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs DefWindowProc for the message being handled, as the framework's Default() does.
  LRESULT Default();

  virtual void OnLockReleased() {}

  std::string text_;
  int id_ = 0;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  CWnd* parent_ = nullptr;
  bool visible_ = false;
  bool moved_ = false;
  WINDOWPLACEMENT placement_;  // rcNormalPosition is the current rectangle while not minimized
                               // or maximized
  std::vector<CWnd*> children_;
  std::vector<std::unique_ptr<CWnd>> ownedChildren_;
  std::unique_ptr<CMenu> menu_;
  std::unique_ptr<CMenu> systemMenu_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;

 private:
  struct Current {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  Current current_{WM_NULL, 0, 0};
  POINT sizedClient_{-1, -1};  // the client size that the last WM_SIZE carried
  bool reporting_ = false;
  RECT CurrentRect() const;
  // Tells the window its client size, as the window system does after a change of placement.
  void SendSize(UINT type);
  void FillSystemMenu(CMenu& menu) const;
};
