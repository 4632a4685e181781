// An edit box of several lines. Each piece of its text between tabs and line ends is shown as its
// own cell would be, and a tab sets what follows it beside the widest text before a tab, so that
// lines of "label<TAB>value" read as two columns.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "platform/qt/ControlPeer.h"

class CEdit;

class MultiLineEditPeer : public QPlainTextEdit, public ControlPeer {
 public:
  MultiLineEditPeer(CEdit& edit, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  void Sync() override;
  // Enter makes a new line in a box the user can write in.
  bool KeepsDialogKeys() const override { return !isReadOnly(); }

 private:
  void UserEdited();
  // Where text after a tab starts: past the widest of the texts before a tab, within reason.
  void PlaceTabStop(const std::string& text);

  CEdit& edit_;
  std::string shown_;  // the platform's text as it was last shown
};
