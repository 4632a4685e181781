// Makes the peer of each control of a dialog's window. The control says which kind it is, so the
// choice of peer needs no look at its class or kind here.
#pragma once

#include "platform/ControlVisitor.h"

class ControlPeer;
class QWidget;
class TopWindow;

class PeerFactory : public ControlVisitor {
 public:
  // The peers belong to `window` and are shown in `parent`, its client area.
  PeerFactory(TopWindow& window, QWidget* parent) : window_(window), parent_(parent) {}

  // The peer of `control`, made for it; Qt's parent owns it.
  ControlPeer& Make(CWnd& control);

  void StaticText(CWnd& control) override;
  void Icon(CWnd& control) override;
  void PushButton(CButton& control) override;
  void CheckBox(CButton& control) override;
  void Edit(CEdit& control) override;
  void MultiLineEdit(CEdit& control) override;
  void ComboBox(CComboBox& control) override;
  void ListView(CListCtrl& control) override;

 private:
  TopWindow& window_;
  QWidget* parent_;
  ControlPeer* made_ = nullptr;
};
