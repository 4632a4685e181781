#include "platform/qt/PushButtonPeer.h"

#include "platform/Button.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/TopWindow.h"

PushButtonPeer::PushButtonPeer(CButton& button, TopWindow& window, QWidget* parent)
    : QPushButton(parent), ControlPeer(button, window) {
  setAutoDefault(true);
  setDefault((button.GetStyle() & 0xF) == BS_DEFPUSHBUTTON);
  connect(this, &QPushButton::clicked, this, [this] {
    window_.Feed(MSG{nullptr, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(control_.GetDlgCtrlID()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(&control_), false});
  });
}

void PushButtonPeer::Sync() {
  setText(EightBitText::Decode(control_.GetWindowText()));
}
