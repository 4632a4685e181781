#include "platform/qt/ControlPeer.h"

#include <QWidget>

#include "platform/Wnd.h"

QRect ControlPeer::PlatformRect() const {
  RECT r;
  control_.GetWindowRect(&r);
  return QRect(r.left, r.top, r.Width(), r.Height());
}

void ControlPeer::Place() {
  Widget().setGeometry(PlatformRect());
}

void ControlPeer::Redraw() {
  Widget().update();
}
