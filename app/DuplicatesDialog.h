// Asks Duplicates for a column, and keeps the choice for the next time.
#pragma once

#include <cstdint>

#include "platform/ComboBox.h"
#include "platform/Dialog.h"

class DuplicatesDialog : public CDialog {
 public:
  DuplicatesDialog();

  int32_t GetSelection() const { return selection; }

  CComboBox field;
  int32_t selection = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnShowWindow(BOOL show, UINT status);
  void OnSelChangeField();

  DECLARE_MESSAGE_MAP()
};
