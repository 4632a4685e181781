// A static text: a label that wraps its words.
#pragma once

#include <QLabel>

#include "platform/qt/ControlPeer.h"

class StaticTextPeer : public QLabel, public ControlPeer {
 public:
  StaticTextPeer(CWnd& control, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  void Sync() override;
};
