// A top-level dialog window made at run time from a description, with its controls, an optional
// menu bar, icons, a system-menu item, placement and painting. Its messages go to a WindowEvents
// object; notifications of controls go to the NotifyTarget registered for their id.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/native/NativeTypes.h"
#include "platform/win32/native/NotifyTarget.h"
#include "platform/win32/native/WindowEvents.h"

namespace native {

class DialogWindow {
 public:
  DialogWindow() = default;
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Creates the window hidden, whatever the description's visibility, so that its owner can place
  // it first. With a menu bar, the window grows so that its client area keeps the described size.
  bool Create(const DialogDescription& layout, Handle owner, WindowEvents* events,
              Handle menuBar = nullptr);
  void Destroy();
  Handle Window() const { return window_; }
  Handle Control(int id) const;
  // The controls' windows, in the order of the description.
  std::vector<Handle> Controls() const;
  // Whether `window` is this dialog or lies inside it; *control is then the control that is or
  // holds it, or null for the dialog itself.
  bool Holds(Handle window, Handle* control) const;

  void Show(unsigned showCmd);
  // The keyboard focus to the first control that is a tab stop, as a dialog opens.
  void FocusFirstControl();
  bool IsVisible() const;
  bool IsIconic() const;
  void SetText(const std::string& text);
  std::string Text() const;
  void SetIcons(Handle big, Handle small);
  // Whether files dropped from the desktop reach the window (DragAcceptFiles).
  void AcceptFiles(bool accept);
  // Appends an item or a separator to the window's system menu.
  bool AppendSystemMenu(const MenuRow& row);

  Rect WindowRect() const;
  Rect ClientRect() const;
  void Move(const Rect& rect, bool repaint = true);
  bool GetPlacement(Placement* placement) const;
  bool SetPlacement(const Placement& placement);
  // Dialog units to pixels, with this dialog's font.
  Rect DialogUnitsToPixels(const Rect& units) const;
  // Pixels per 4 horizontal and 8 vertical dialog units in a dialog with this font.
  static bool BaseUnits(const std::string& fontName, int pointSize, int* x, int* y);
  void Redraw();

  void SetNotifyTarget(int id, NotifyTarget* target);

  // The window procedure's work: true when the message was handled, with its result.
  bool HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t* result);

 private:
  bool Paint();

  Handle window_ = nullptr;
  WindowEvents* events_ = nullptr;
  std::map<int, NotifyTarget*> notifyTargets_;
};

}  // namespace native
