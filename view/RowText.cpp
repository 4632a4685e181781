#include "view/RowText.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Clipboard.h"
#include "table/TableFile.h"
#include "view/RowListView.h"

namespace {
bool NeedsQuotes(std::string_view cell) {
  return cell.find_first_of("\t\"\r\n") != std::string_view::npos;
}

void AppendCell(ClipboardText& text, std::string_view cell) {
  if (!NeedsQuotes(cell)) {
    text.AppendCell(cell);
    return;
  }
  // The quotes and the doubled ones are part of the cell, so that it is shown as one whole.
  std::string quoted = "\"";
  for (char c : cell) {
    quoted += c;
    if (c == '"')
      quoted += c;
  }
  quoted += '"';
  text.AppendCell(quoted);
}

// The cells of one row: the fields of every column, as the list shows them.
class RowCells {
 public:
  explicit RowCells(const TableFile& table)
      : table_(table),
        texts_(static_cast<size_t>(table.columnCount)),
        lengths_(static_cast<size_t>(table.columnCount)) {}

  void Append(LPARAM row, ClipboardText& text) {
    table_.FieldTexts(reinterpret_cast<const char*>(row), table_.columnCount, texts_.data(),
                      lengths_.data());
    for (size_t k = 0; k < texts_.size(); ++k) {
      if (k > 0)
        text.AppendSeparator('\t');
      AppendCell(text, std::string_view(texts_[k], lengths_[k]));
    }
  }

 private:
  const TableFile& table_;
  std::vector<const char*> texts_;
  std::vector<size_t> lengths_;
};
}  // namespace

void AppendListedRow(const RowListView& list, const TableFile& table, int item,
                     ClipboardText& text) {
  RowCells(table).Append(list.GetItemData(item), text);
}

bool AppendListedRows(const RowListView& list, const TableFile& table, size_t limit,
                      ClipboardText& text) {
  if (table.headers) {
    for (int k = 0; k < list.GetColumnCount(); ++k) {
      if (k > 0)
        text.AppendSeparator('\t');
      AppendCell(text, list.GetColumnHeading(k));
    }
    text.AppendSeparator('\n');
  }
  RowCells cells(table);
  for (int i = 0; i < list.GetItemCount(); ++i) {
    if (text.Size() > limit)
      return false;
    cells.Append(list.GetItemData(i), text);
    text.AppendSeparator('\n');
  }
  return text.Size() <= limit;
}

std::string RowDetailsText(TableFile& table, const char* row) {
  std::string bytes;
  table.AppendRowBytes(row, bytes);
  std::string text;
  text.reserve(bytes.size() * 2);
  size_t start = 0;
  for (int32_t k = 0; start <= bytes.size(); ++k) {
    size_t end = bytes.find(';', start);
    if (end == std::string::npos)
      end = bytes.size();
    text += table.ColumnName(k);
    text += '\t';
    text.append(bytes, start, end - start);
    text += '\n';
    start = end + 1;
  }
  return text;
}
