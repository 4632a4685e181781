// The listed rows as text to hand out of the program: for the clipboard, as spreadsheets take
// text, and a row's fields beside their titles, to read it whole.
#pragma once

#include <cstddef>
#include <string>

class ClipboardText;
class RowListView;
class TableFile;

// Appends the cells of item `item` as the list shows them, one per column, with a tab between
// them. A cell that holds a tab, a quote or a line end is put in quotes, its quotes doubled, so
// that a paste keeps it in one cell.
void AppendListedRow(const RowListView& list, const TableFile& table, int item,
                     ClipboardText& text);

// The column titles while the first line serves as titles, then every listed row in list order,
// each line ended by LF. False as soon as the text would pass `limit` bytes; it then holds a part.
bool AppendListedRows(const RowListView& list, const TableFile& table, size_t limit,
                      ClipboardText& text);

// One line for each field that the row has, also past the table's columns: the column's title, a
// tab and the field, whole. Lines are ended by LF, the last one too.
std::string RowDetailsText(TableFile& table, const char* row);
