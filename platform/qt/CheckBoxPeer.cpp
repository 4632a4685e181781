#include "platform/qt/CheckBoxPeer.h"

#include <QSignalBlocker>
#include <algorithm>

#include "platform/Button.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/TopWindow.h"

CheckBoxPeer::CheckBoxPeer(CButton& button, TopWindow& window, QWidget* parent)
    : QCheckBox(parent), ControlPeer(button, window), button_(button) {
  if (button.GetStyle() & BS_LEFTTEXT)
    setLayoutDirection(Qt::RightToLeft);
  connect(this, &QCheckBox::clicked, this, [this] {
    if (window_.Accepting())
      button_.Click();
    Sync();
  });
  installEventFilter(&window);
}

void CheckBoxPeer::Sync() {
  QSignalBlocker quiet(this);
  setText(EightBitText::Decode(button_.GetWindowText()));
  setChecked(button_.GetCheck() != 0);
}

// This desktop's font and check mark are wider than the ones the template was drawn for; a check
// box grows rather than cut off its text.
void CheckBoxPeer::Place() {
  QRect placed = PlatformRect();
  placed.setWidth(std::max(placed.width(), sizeHint().width()));
  setGeometry(placed);
}
