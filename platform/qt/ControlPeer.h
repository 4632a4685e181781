// What shows one control of a dialog's window: a widget that mirrors the platform control's state
// and passes the user's actions on as the messages the program expects. Each kind of control has
// a peer class of its own, which is also its widget; PeerFactory makes the right one.
#pragma once

#include <QRect>

#include "platform/WindowPeer.h"

class CWnd;
class QWidget;
class TopWindow;

class ControlPeer : public WindowPeer {
 public:
  ControlPeer(CWnd& control, TopWindow& window) : control_(control), window_(window) {}

  CWnd& Control() const { return control_; }
  TopWindow& Window() const { return window_; }
  virtual QWidget& Widget() = 0;

  // Shows the platform control's state.
  virtual void Sync() = 0;
  // Puts the widget where the platform has placed the control.
  virtual void Place();
  // Whether the widget keeps Enter and Escape for itself just now, instead of leaving them to the
  // dialog.
  virtual bool KeepsDialogKeys() const { return false; }

  void TextChanged() override { Sync(); }
  void StateChanged() override { Sync(); }
  void RectChanged() override { Place(); }
  void Redraw() override;

 protected:
  // The control's rectangle in its dialog's client area.
  QRect PlatformRect() const;

  CWnd& control_;
  TopWindow& window_;
};
