#include "platform/qt/ComboBoxPeer.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/ComboBox.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/TopWindow.h"

ComboBoxPeer::ComboBoxPeer(CComboBox& combo, TopWindow& window, QWidget* parent)
    : QComboBox(parent), ControlPeer(combo, window), combo_(combo) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setDuplicatesEnabled(true);
  // Qt would select the entry that matches typed text, through the completer and again when
  // editing finishes. Typed text must select nothing, so both ways are cut.
  setCompleter(nullptr);
  QObject::disconnect(lineEdit(), SIGNAL(editingFinished()), this, nullptr);
  // The mouse, the arrow keys and the wheel pick an entry.
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (window_.Accepting())
      combo_.Pick(index);
  });
  installEventFilter(&window);
  lineEdit()->installEventFilter(&window);
}

void ComboBoxPeer::Sync() {
  QSignalBlocker quiet(this);
  QStringList entries;
  for (int i = 0; i < combo_.GetCount(); ++i)
    entries << EightBitText::Decode(combo_.GetItemText(i));
  QStringList shown;
  for (int i = 0; i < count(); ++i)
    shown << itemText(i);
  if (shown != entries) {
    clear();
    addItems(entries);
  }
  int selected = combo_.GetCurSel();
  setCurrentIndex(selected >= 0 && selected < count() ? selected : -1);
  QString text = EightBitText::Decode(combo_.GetWindowText());
  if (lineEdit()->text() != text)
    lineEdit()->setText(text);
}

// A drop-down combo's template height includes its open list; closed, it is one line high.
void ComboBoxPeer::Place() {
  QRect placed = PlatformRect();
  placed.setHeight(sizeHint().height());
  setGeometry(placed);
}

bool ComboBoxPeer::KeepsDialogKeys() const {
  return view() && view()->isVisible();
}
