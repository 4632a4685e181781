#include "platform/qt/ComboBoxPeer.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QTimer>

#include "platform/ComboBox.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/TopWindow.h"

ComboBoxPeer::ComboBoxPeer(CComboBox& combo, TopWindow& window, QWidget* parent)
    : QComboBox(parent), ControlPeer(combo, window), combo_(combo) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setDuplicatesEnabled(true);
  // A file can have hundreds of thousands of columns: no entry is measured for the box's size,
  // and the list's rows are all one height.
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  auto* list = new QListView(this);
  list->setUniformItemSizes(true);
  setView(list);
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

void ComboBoxPeer::StateChanged() {
  if (syncPending_)
    return;
  syncPending_ = true;
  QTimer::singleShot(0, this, [this] { Sync(); });
}

void ComboBoxPeer::SyncEntries() {
  int entries = combo_.GetCount();
  int shown = count();
  bool sameHead =
      shown <= entries &&
      (shown == 0 || itemText(shown - 1) == EightBitText::Decode(combo_.GetItemText(shown - 1)));
  if (!sameHead) {
    clear();
    shown = 0;
  }
  if (shown == entries)
    return;
  QStringList more;
  more.reserve(entries - shown);
  for (int i = shown; i < entries; ++i)
    more << EightBitText::Decode(combo_.GetItemText(i));
  addItems(more);
}

void ComboBoxPeer::Sync() {
  syncPending_ = false;
  QSignalBlocker quiet(this);
  SyncEntries();
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
