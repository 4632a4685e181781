#include "platform/win32/ControlPeer.h"

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/ControlVisitor.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/StaticIcon.h"
#include "platform/win32/IconCache.h"

namespace {
constexpr int kEditChanged = 0x0300;  // EN_CHANGE
constexpr int kComboEdited = 5;       // CBN_EDITCHANGE

void ShowText(native::ControlWindow& window, const std::string& text) {
  if (window.Text() != text)
    window.SetText(text);
}
}  // namespace

// The platform's state, into the real control.
class ControlPeer::Show : public ControlVisitor {
 public:
  explicit Show(ControlPeer& peer) : peer_(peer), window_(peer.window_) {}

  void StaticText(CWnd& control) override { ShowText(window_, control.GetWindowText()); }
  void Icon(CWnd& control) override {
    window_.SetIcon(peer_.icons_.Get(IconOfStatic(control), 32));
  }
  void PushButton(CButton& control) override { ShowText(window_, control.GetWindowText()); }
  void CheckBox(CButton& control) override {
    ShowText(window_, control.GetWindowText());
    if (window_.IsChecked() != (control.GetCheck() != 0))
      window_.SetChecked(control.GetCheck() != 0);
  }
  void Edit(CEdit& control) override {
    window_.LimitText(control.GetLimitText());
    ShowText(window_, control.GetWindowText());
  }
  void MultiLineEdit(CEdit& control) override {
    window_.LimitText(control.GetLimitText());
    if (window_.Lines() != control.GetWindowText())
      window_.SetLines(control.GetWindowText());
  }
  void ComboBox(CComboBox& control) override {
    std::vector<std::string> items;
    for (int i = 0; i < control.GetCount(); ++i)
      items.push_back(control.GetItemText(i));
    if (items != peer_.comboItems_) {
      window_.ComboClear();
      for (const std::string& item : items)
        window_.ComboAdd(item);
      peer_.comboItems_ = items;
    }
    if (window_.ComboSelection() != control.GetCurSel())
      window_.ComboSelect(control.GetCurSel());
    ShowText(window_, control.GetWindowText());
  }
  void ListView(CListCtrl& /*control*/) override {}

 private:
  ControlPeer& peer_;
  native::ControlWindow& window_;
};

// What the user did to the real control, into the platform's.
class ControlPeer::Take : public ControlVisitor {
 public:
  Take(ControlPeer& peer, int code) : peer_(peer), window_(peer.window_), code_(code) {}
  bool taken = false;

  void StaticText(CWnd& /*control*/) override {}
  void Icon(CWnd& /*control*/) override {}
  void PushButton(CButton& control) override { Clicked(control); }
  void CheckBox(CButton& control) override {
    if (code_ != BN_CLICKED)
      return;
    control.SetCheck(window_.IsChecked() ? 1 : 0);
    Clicked(control);
  }
  void Edit(CEdit& control) override {
    if (code_ != kEditChanged)
      return;
    control.SetWindowText(window_.Text());
    taken = true;
  }
  void MultiLineEdit(CEdit& control) override {
    if (code_ != kEditChanged)
      return;
    control.SetWindowText(window_.Lines());
    taken = true;
  }
  void ComboBox(CComboBox& control) override {
    if (code_ == CBN_SELCHANGE) {
      // The combo box tells its parent itself, as the window system's does.
      control.Pick(window_.ComboSelection());
      taken = true;
    } else if (code_ == kComboEdited) {
      control.SetWindowText(window_.Text());
      taken = true;
    }
  }
  void ListView(CListCtrl& /*control*/) override {}

 private:
  void Clicked(CButton& control) {
    if (code_ != BN_CLICKED)
      return;
    peer_.dialog_.SendMessage(WM_COMMAND,
                              MAKEWPARAM(static_cast<WORD>(control.GetDlgCtrlID()), BN_CLICKED),
                              reinterpret_cast<LPARAM>(&control));
    taken = true;
  }

  ControlPeer& peer_;
  native::ControlWindow& window_;
  int code_;
};

ControlPeer::ControlPeer(CWnd& control, native::Handle window, CDialog& dialog, IconCache& icons)
    : control_(control), window_(window), dialog_(dialog), icons_(icons) {}

void ControlPeer::Sync() {
  Show show(*this);
  control_.Accept(show);
}

bool ControlPeer::UserChanged(int code) {
  Take take(*this, code);
  control_.Accept(take);
  return take.taken;
}

void ControlPeer::RectChanged() {
  RECT r;
  control_.GetWindowRect(&r);
  window_.Move(native::Rect{r.left, r.top, r.right, r.bottom}, true);
}
