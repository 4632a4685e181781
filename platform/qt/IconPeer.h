// A static control that shows an icon.
#pragma once

#include <QLabel>

#include "platform/qt/ControlPeer.h"

class IconPeer : public QLabel, public ControlPeer {
 public:
  IconPeer(CWnd& control, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  void Sync() override;
};
