#include "platform/qt/PeerFactory.h"

#include <QWidget>

#include "platform/Wnd.h"
#include "platform/qt/CheckBoxPeer.h"
#include "platform/qt/ComboBoxPeer.h"
#include "platform/qt/EditPeer.h"
#include "platform/qt/IconPeer.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/MultiLineEditPeer.h"
#include "platform/qt/PushButtonPeer.h"
#include "platform/qt/StaticTextPeer.h"

ControlPeer& PeerFactory::Make(CWnd& control) {
  control.Accept(*this);
  ControlPeer& peer = *made_;
  made_ = nullptr;
  peer.Widget().setVisible((control.GetStyle() & WS_VISIBLE) != 0);
  return peer;
}

void PeerFactory::StaticText(CWnd& control) {
  made_ = new StaticTextPeer(control, window_, parent_);
}

void PeerFactory::Icon(CWnd& control) {
  made_ = new IconPeer(control, window_, parent_);
}

void PeerFactory::PushButton(CButton& control) {
  made_ = new PushButtonPeer(control, window_, parent_);
}

void PeerFactory::CheckBox(CButton& control) {
  made_ = new CheckBoxPeer(control, window_, parent_);
}

void PeerFactory::Edit(CEdit& control) {
  made_ = new EditPeer(control, window_, parent_);
}

void PeerFactory::MultiLineEdit(CEdit& control) {
  made_ = new MultiLineEditPeer(control, window_, parent_);
}

void PeerFactory::ComboBox(CComboBox& control) {
  made_ = new ComboBoxPeer(control, window_, parent_);
}

void PeerFactory::ListView(CListCtrl& control) {
  made_ = new ListViewPeer(control, window_, parent_);
}
