#include "platform/qt/ComboControl.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/ComboBox.h"
#include "platform/qt/EightBitText.h"

ComboControl::ComboControl(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setDuplicatesEnabled(true);
  // Qt would select the entry that matches typed text, through the completer and again when
  // editing finishes. Typed text must select nothing, so both ways are cut.
  setCompleter(nullptr);
  QObject::disconnect(lineEdit(), SIGNAL(editingFinished()), this, nullptr);
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (picked)
      picked(index);
  });
}

void ComboControl::ShowState(const CComboBox& combo) {
  QSignalBlocker quiet(this);
  QStringList entries;
  for (int i = 0; i < combo.GetCount(); ++i)
    entries << EightBitText::Decode(combo.GetItemText(i));
  QStringList shown;
  for (int i = 0; i < count(); ++i)
    shown << itemText(i);
  if (shown != entries) {
    clear();
    addItems(entries);
  }
  int selected = combo.GetCurSel();
  setCurrentIndex(selected >= 0 && selected < count() ? selected : -1);
  QString text = EightBitText::Decode(combo.GetWindowText());
  if (lineEdit()->text() != text)
    lineEdit()->setText(text);
}
