// A single-line edit box whose length limit counts the bytes the program receives, not the
// characters on screen. What the user types becomes the platform edit's text at once.
#pragma once

#include <QLineEdit>
#include <string>

#include "platform/qt/ControlPeer.h"

class CEdit;

class EditPeer : public QLineEdit, public ControlPeer {
 public:
  EditPeer(CEdit& edit, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  // Shows the platform's text and limit, telling no one.
  void Sync() override;

 private:
  // The most bytes the text may hold; 0 or less means no limit.
  void SetByteLimit(int limit);
  void UserEdited(const QString& text);

  CEdit& edit_;
  int byteLimit_ = 0;
};
