#include "platform/qt/EditPeer.h"

#include <QSignalBlocker>
#include <algorithm>

#include "platform/CellText.h"
#include "platform/Edit.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/TopWindow.h"

EditPeer::EditPeer(CEdit& edit, TopWindow& window, QWidget* parent)
    : QLineEdit(parent), ControlPeer(edit, window), edit_(edit) {
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { UserEdited(text); });
  installEventFilter(&window);
}

void EditPeer::SetByteLimit(int limit) {
  byteLimit_ = limit;
  // A character is at least one byte, so a limit in characters never stops text that fits the
  // byte limit; it only spares most of the trimming below.
  setMaxLength(limit > 0 ? std::min(limit, 32767) : 32767);
}

void EditPeer::Sync() {
  SetByteLimit(edit_.GetLimitText());
  QString text = EightBitText::Decode(edit_.GetWindowText());
  if (this->text() == text)
    return;
  QSignalBlocker quiet(this);
  setText(text);
}

void EditPeer::UserEdited(const QString& typed) {
  QString text = typed;
  std::string bytes = EightBitText::Encode(text);
  if (byteLimit_ > 0 && bytes.size() > static_cast<size_t>(byteLimit_)) {
    // Typing stops at the limit, as it does in the window system's edit box.
    bytes.resize(Utf8Boundary(bytes, static_cast<size_t>(byteLimit_)));
    text = QString::fromStdString(bytes);
    int cursor = std::min(cursorPosition(), static_cast<int>(text.size()));
    QSignalBlocker quiet(this);
    setText(text);
    setCursorPosition(cursor);
  }
  if (window_.Accepting())
    edit_.TypeForms(EightBitText::TypedForms(text));
}
