// Asks Find and Pick for a column, a text to match and whether the match is exact.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ComboBox.h"
#include "platform/Dialog.h"

class FieldQueryDialog : public CDialog {
 public:
  FieldQueryDialog();

  // Shows the dialog with `caption`; IDOK, IDCANCEL, or -1 when it cannot be shown.
  int Run(std::string caption);

  int32_t selection = 0;
  CComboBox field;
  int exact = 0;
  // The text to match, then every other text of bytes that shows the characters the user typed.
  std::vector<std::string> match{std::string()};
  std::string title;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnShowWindow(BOOL show, UINT status);
  void OnSelChangeField();

  DECLARE_MESSAGE_MAP()
};
