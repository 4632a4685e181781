// Fills a field chooser's column list from the table of the window that owns the dialog.
#pragma once

#include <cstdint>

class CDialog;
class CComboBox;

void FillFieldList(CDialog& dialog, CComboBox& field, int32_t selection);
