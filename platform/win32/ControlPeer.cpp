#include "platform/win32/ControlPeer.h"

#include "platform/Button.h"
#include "platform/CellText.h"
#include "platform/ComboBox.h"
#include "platform/ControlVisitor.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/StaticIcon.h"
#include "platform/TypedText.h"
#include "platform/win32/IconCache.h"
#include "platform/win32/native/Normalization.h"

namespace {
constexpr int kEditChanged = 0x0300;  // EN_CHANGE
constexpr int kComboEdited = 5;       // CBN_EDITCHANGE

void ShowText(native::ControlWindow& window, const std::string& text) {
  if (window.Text() != text)
    window.SetText(text);
}

// A text that the user types, or a file's column title, shown as a cell of the file is.
void ShowCellText(native::ControlWindow& window, const std::string& text) {
  std::u16string shown = CellUtf16(text, text.size());
  if (window.WideText() != shown)
    window.SetWideText(shown);
}

std::string Composed(const std::u16string& text) {
  return Utf16ToUtf8(native::Normalized(text, true));
}

// Every text of bytes that shows what the user typed into the box. The program counts its limit
// in bytes, the box in characters: typing stops at the program's limit, as it does on Linux.
std::vector<std::string> TypedIn(native::ControlWindow& window, int limit) {
  std::u16string typed = window.WideText();
  std::string composed = Composed(typed);
  if (limit > 0 && composed.size() > static_cast<size_t>(limit)) {
    composed.resize(Utf8Boundary(composed, static_cast<size_t>(limit)));
    typed = CellUtf16(composed, composed.size());
    window.SetWideText(typed);
  }
  return TypedForms(composed, Utf16ToUtf8(native::Normalized(typed, false)));
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
    ShowCellText(window_, control.GetWindowText());
  }
  void MultiLineEdit(CEdit& control) override {
    window_.LimitText(control.GetLimitText());
    std::u16string shown = CellsUtf16(control.GetWindowText());
    if (window_.Lines() != shown)
      window_.SetLines(shown);
  }
  void ComboBox(CComboBox& control) override {
    std::vector<std::string> items;
    for (int i = 0; i < control.GetCount(); ++i)
      items.push_back(control.GetItemText(i));
    if (items != peer_.comboItems_) {
      window_.ComboClear();
      for (const std::string& item : items)
        window_.ComboAdd(CellUtf16(item, item.size()));
      peer_.comboItems_ = items;
    }
    if (window_.ComboSelection() != control.GetCurSel())
      window_.ComboSelect(control.GetCurSel());
    ShowCellText(window_, control.GetWindowText());
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
    control.TypeForms(TypedIn(window_, control.GetLimitText()));
    taken = true;
  }
  void MultiLineEdit(CEdit& control) override {
    if (code_ != kEditChanged)
      return;
    control.SetWindowText(Composed(window_.Lines()));
    taken = true;
  }
  void ComboBox(CComboBox& control) override {
    if (code_ == CBN_SELCHANGE) {
      // The combo box tells its parent itself, as the window system's does.
      control.Pick(window_.ComboSelection());
      taken = true;
    } else if (code_ == kComboEdited) {
      control.SetWindowText(Composed(window_.WideText()));
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
  bool outer = showing_;
  showing_ = true;
  control_.Accept(show);
  showing_ = outer;
}

bool ControlPeer::UserChanged(int code) {
  if (showing_)
    return false;
  Take take(*this, code);
  control_.Accept(take);
  return take.taken;
}

void ControlPeer::RectChanged() {
  RECT r;
  control_.GetWindowRect(&r);
  window_.Move(native::Rect{r.left, r.top, r.right, r.bottom}, true);
}
