// Asks for the number of a listed row, counted from 1.
#pragma once

#include <string>

#include "platform/Dialog.h"

class GoToRowDialog : public CDialog {
 public:
  // `rows` listed rows to choose from.
  explicit GoToRowDialog(long rows);

  // What the user typed.
  std::string number;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  long rows_;
};

// The row that `text` names among `rows`, counted from 1: a whole number, blanks around it
// allowed; -1 for any other text or a number out of range.
long ParseRowNumber(const std::string& text, long rows);
