// An editable drop-down combo box as the window system's CBS_DROPDOWN has it: the user picks an
// entry from the list, and text typed into the edit part selects nothing.
#pragma once

#include <QComboBox>

#include "platform/qt/ControlPeer.h"

class CComboBox;

class ComboBoxPeer : public QComboBox, public ControlPeer {
 public:
  ComboBoxPeer(CComboBox& combo, TopWindow& window, QWidget* parent);

  QWidget& Widget() override { return *this; }
  // Shows the platform combo's entries, selection and edit text, telling no one.
  void Sync() override;
  // The program adds its entries one at a time; they are shown together, once it waits again.
  void StateChanged() override;
  void TextChanged() override { StateChanged(); }
  void Place() override;
  // While the list is open, Enter and Escape close it.
  bool KeepsDialogKeys() const override;

 private:
  // Adds the platform's entries that are not shown yet; starts again when they are not the same.
  void SyncEntries();

  CComboBox& combo_;
  bool syncPending_ = false;
};
