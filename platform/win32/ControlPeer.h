// One simple control of a dialog's real window: a static text or icon, a push button, a check
// box, an edit box or a combo box. It shows the platform control's state, and gives the platform
// control what the user did to the real one.
#pragma once

#include <string>
#include <vector>

#include "platform/WindowPeer.h"
#include "platform/win32/native/ControlWindow.h"

class CDialog;
class CWnd;
class IconCache;

class ControlPeer : public WindowPeer {
 public:
  // `control` of `dialog` is shown in the real control `window`, with icons from `icons`.
  ControlPeer(CWnd& control, native::Handle window, CDialog& dialog, IconCache& icons);

  const native::ControlWindow& Window() const { return window_; }

  // Shows the platform control's state where it differs from what the real control shows, so
  // that an echo of what the user just did changes nothing.
  void Sync();
  // The user changed the real control (its notification `code`): the platform control takes the
  // new state, and the dialog hears of it as the program expects. False for a notification that
  // the platform has no use for, and for the real control's answer to what Sync shows, which is
  // no user's: a text the program set stays its bytes, whichever forms would show it.
  bool UserChanged(int code);

  void TextChanged() override { Sync(); }
  void StateChanged() override { Sync(); }
  void RectChanged() override;

 private:
  class Show;
  class Take;

  CWnd& control_;
  native::ControlWindow window_;
  CDialog& dialog_;
  IconCache& icons_;
  std::vector<std::string> comboItems_;  // as the real combo box lists them
  bool showing_ = false;                 // within Sync
};
