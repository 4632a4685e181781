#include "platform/qt/IconPeer.h"

#include "platform/StaticIcon.h"
#include "platform/qt/IconRenderer.h"

IconPeer::IconPeer(CWnd& control, TopWindow& window, QWidget* parent)
    : QLabel(parent), ControlPeer(control, window) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void IconPeer::Sync() {
  setPixmap(IconRenderer::Pixmap(IconOfStatic(control_), 32, devicePixelRatioF()));
}
