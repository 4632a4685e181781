#include "app/GoToRowDialog.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Resource.h"
#include "app/Strings.h"

namespace {
// Room for any row number, and for a mistake to show.
constexpr int kMaxNumber = 20;
}  // namespace

GoToRowDialog::GoToRowDialog(long rows) : CDialog(IDD_GO_TO_ROW), rows_(rows) {}

void GoToRowDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  // A row number is digits, which every form of the typed text shows alike: the first will do.
  std::vector<std::string> forms{number};
  DDX_Text(pDX, IDC_ROW_NUMBER, forms);
  number = forms.empty() ? std::string() : forms.front();
  DDV_MaxChars(pDX, number, kMaxNumber);
}

BOOL GoToRowDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  char label[96];
  std::snprintf(label, sizeof label, kGoToRowLabelFormat, rows_);
  if (CWnd* range = GetDlgItem(IDC_ROW_RANGE))
    range->SetWindowText(label);
  return TRUE;
}

long ParseRowNumber(const std::string& text, long rows) {
  size_t first = text.find_first_not_of(' ');
  size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos)
    return -1;
  long row = 0;
  const char* end = text.data() + last + 1;
  auto [stop, error] = std::from_chars(text.data() + first, end, row);
  if (error != std::errc() || stop != end || row < 1 || row > rows)
    return -1;
  return row;
}
