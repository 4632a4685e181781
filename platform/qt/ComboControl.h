// An editable drop-down combo box as the window system's CBS_DROPDOWN has it: the user picks an
// entry from the list, and text typed into the edit part selects nothing.
#pragma once

#include <QComboBox>
#include <functional>

class CComboBox;

class ComboControl : public QComboBox {
 public:
  explicit ComboControl(QWidget* parent);

  // Shows the platform combo's entries, selection and edit text, telling no one.
  void ShowState(const CComboBox& combo);

  // Called when the user picks entry `index` from the list (mouse, arrow keys or wheel).
  std::function<void(int index)> picked;
};
