#include "view/RowFile.h"

#include <cstring>

#include "platform/TemporaryFile.h"
#include "table/TableFile.h"
#include "view/RowListView.h"

namespace {
// Rows are gathered into writes of about this size: few enough calls, and a buffer that stays in
// a core's cache.
constexpr size_t kWriteBytes = size_t{1} << 20;

class RowWriter {
 public:
  RowWriter(CTemporaryFile& file, const TableFile& table)
      : file_(file), table_(table), lineEnd_(table.LineEnd()) {
    buffer_.reserve(kWriteBytes * 2);
  }

  bool Add(const char* row) {
    table_.AppendRowBytes(row, buffer_);
    buffer_ += lineEnd_;
    return buffer_.size() < kWriteBytes || Flush();
  }

  bool Flush() {
    bool written = file_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
  }

 private:
  CTemporaryFile& file_;
  const TableFile& table_;
  const char* lineEnd_;
  std::string buffer_;
};
}  // namespace

bool SaveListedRows(RowListView& list, const TableFile& table, const std::string& target) {
  CTemporaryFile file;
  if (!file.Create(target))
    return false;
  RowWriter writer(file, table);
  if (table.headers && table.lineCount > 0 && !writer.Add(table.rowStarts[0]))
    return false;
  for (LPARAM row : list.ItemData()) {
    if (!writer.Add(reinterpret_cast<const char*>(row)))
      return false;
  }
  return writer.Flush() && file.Replace();
}
