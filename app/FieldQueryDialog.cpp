#include "app/FieldQueryDialog.h"

#include <utility>

#include "app/FieldList.h"
#include "app/Resource.h"

namespace {
constexpr int kMaxMatch = 40;
}

BEGIN_MESSAGE_MAP(FieldQueryDialog, CDialog)
ON_WM_SHOWWINDOW()
ON_CBN_SELCHANGE(IDC_FIELD, OnSelChangeField)
END_MESSAGE_MAP()

FieldQueryDialog::FieldQueryDialog() : CDialog(IDD_FIELD_QUERY) {}

int FieldQueryDialog::Run(std::string caption) {
  title = std::move(caption);
  return DoModal();
}

void FieldQueryDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_FIELD, field);
  DDX_Check(pDX, IDC_EXACT, exact);
  DDX_Text(pDX, IDC_MATCH, match);
  DDV_MaxChars(pDX, match.front(), kMaxMatch);
}

void FieldQueryDialog::OnShowWindow(BOOL /*show*/, UINT /*status*/) {
  Default();
  FillFieldList(*this, field, selection);
  SetWindowText(title);
}

void FieldQueryDialog::OnSelChangeField() {
  selection = field.GetCurSel();
}
