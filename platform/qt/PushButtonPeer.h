// A push button: a click reaches the dialog as BN_CLICKED from the button.
#pragma once

#include <QPushButton>

#include "platform/qt/ControlPeer.h"

class CButton;

class PushButtonPeer : public QPushButton, public ControlPeer {
 public:
  PushButtonPeer(CButton& button, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  void Sync() override;
};
