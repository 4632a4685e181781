// Every field of one row beside its title, in a window that can be made as large as the row needs;
// the text can be selected and copied.
#pragma once

#include <string>

#include "platform/Dialog.h"
#include "platform/Edit.h"

class RowDetailsDialog : public CDialog {
 public:
  explicit RowDetailsDialog(std::string text);

  CEdit details;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  // The text fills the window, above the Close button in its bottom right corner.
  void OnSize(UINT type, int width, int height);

  DECLARE_MESSAGE_MAP()

 private:
  std::string text_;
};
