#include "app/DuplicatesDialog.h"

#include "app/FieldList.h"
#include "app/Resource.h"

BEGIN_MESSAGE_MAP(DuplicatesDialog, CDialog)
ON_CBN_SELCHANGE(IDC_FIELD, OnSelChangeField)
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

DuplicatesDialog::DuplicatesDialog() : CDialog(IDD_DUPLICATES) {}

void DuplicatesDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_FIELD, field);
}

void DuplicatesDialog::OnShowWindow(BOOL /*show*/, UINT /*status*/) {
  Default();
  FillFieldList(*this, field, selection);
}

void DuplicatesDialog::OnSelChangeField() {
  selection = field.GetCurSel();
}
