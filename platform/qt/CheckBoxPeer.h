// A check box: the platform button decides the check mark, and the dialog hears of each click.
#pragma once

#include <QCheckBox>

#include "platform/qt/ControlPeer.h"

class CButton;

class CheckBoxPeer : public QCheckBox, public ControlPeer {
 public:
  CheckBoxPeer(CButton& button, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  void Sync() override;
  void Place() override;

 private:
  CButton& button_;
};
