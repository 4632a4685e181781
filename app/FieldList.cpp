#include "app/FieldList.h"

#include "app/MainWindow.h"
#include "platform/ComboBox.h"
#include "table/TableFile.h"

void FillFieldList(CDialog& dialog, CComboBox& field, int32_t selection) {
  auto* owner = dynamic_cast<MainWindow*>(dialog.GetParent());
  TableFile* table = owner ? owner->table.get() : nullptr;
  if (table) {
    for (int32_t i = 0; i < table->columnCount; ++i)
      field.AddString(table->ColumnName(i));
  }
  field.SetCurSel(selection);
}
