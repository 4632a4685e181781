#include "app/RowDetailsDialog.h"

#include <utility>

#include "app/Resource.h"

namespace {
constexpr int kMargin = 10;
}

BEGIN_MESSAGE_MAP(RowDetailsDialog, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

RowDetailsDialog::RowDetailsDialog(std::string text)
    : CDialog(IDD_ROW_DETAILS), text_(std::move(text)) {}

void RowDetailsDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_DETAILS, details);
}

BOOL RowDetailsDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  // A row can be longer than an edit box holds by default.
  details.LimitText(0);
  details.SetWindowText(text_);
  return TRUE;
}

void RowDetailsDialog::OnSize(UINT /*type*/, int /*width*/, int /*height*/) {
  Default();
  CWnd* close = GetDlgItem(IDOK);
  if (!close)
    return;
  RECT client;
  GetClientRect(&client);
  RECT button;
  close->GetWindowRect(&button);
  int width = button.Width();
  int height = button.Height();
  close->MoveWindow(client.Width() - kMargin - width, client.Height() - kMargin - height, width,
                    height);
  details.MoveWindow(kMargin, kMargin, client.Width() - 2 * kMargin,
                     client.Height() - 3 * kMargin - height);
}
