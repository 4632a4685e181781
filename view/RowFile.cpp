#include "view/RowFile.h"

#include <algorithm>
#include <cstring>

#include "platform/TemporaryFile.h"
#include "table/TableFile.h"
#include "view/RowListView.h"

namespace {
// Rows are gathered into writes of this size: few enough calls, and a buffer that stays in a
// core's cache between the copy into it and the system's copy out of it, which a write straight
// from the file's mapping or from a bigger buffer would lose.
constexpr size_t kWriteBytes = size_t{256} << 10;
// How many rows ahead a walk in an order of its own asks for a row's entry in the index, and for
// the row's bytes: each waits on memory otherwise, one row at a time.
constexpr size_t kIndexAhead = 16;
constexpr size_t kBytesAhead = 8;

// The saved file is the file's own bytes, in stretches: a row that the file ends as the saved file
// ends its lines is one stretch with its line end, and rows that follow one another in the file
// make one long stretch, copied at once.
class RowWriter {
 public:
  RowWriter(CTemporaryFile& file, const TableFile& table)
      : file_(file),
        table_(table),
        lineEnd_(table.LineEnd()),
        lineEndLength_(std::strlen(lineEnd_)),
        limit_(table.Buffer().Data() + table.Buffer().Length()) {
    buffer_.reserve(kWriteBytes);
  }

  bool Add(int32_t row) {
    std::string_view bytes = table_.RowBytes(row);
    const char* after = bytes.data() + bytes.size();
    if (static_cast<size_t>(limit_ - after) >= lineEndLength_ &&
        std::memcmp(after, lineEnd_, lineEndLength_) == 0)
      return Put(bytes.data(), bytes.size() + lineEndLength_);
    return Put(bytes.data(), bytes.size()) && Put(lineEnd_, lineEndLength_);
  }

  bool Finish() { return Settle() && Flush(); }

 private:
  bool Put(const char* at, size_t length) {
    if (at == stretchEnd_) {
      stretchEnd_ += length;
      return true;
    }
    if (!Settle())
      return false;
    stretchBegin_ = at;
    stretchEnd_ = at + length;
    return true;
  }

  // The stretch gathered so far goes into the buffer, which is written whenever it is full.
  bool Settle() {
    const char* at = stretchBegin_;
    auto length = static_cast<size_t>(stretchEnd_ - at);
    stretchBegin_ = stretchEnd_ = nullptr;
    while (length > 0) {
      size_t part = std::min(length, kWriteBytes - buffer_.size());
      buffer_.append(at, part);
      at += part;
      length -= part;
      if (buffer_.size() == kWriteBytes && !Flush())
        return false;
    }
    return true;
  }

  bool Flush() {
    bool written = file_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
  }

  CTemporaryFile& file_;
  const TableFile& table_;
  const char* lineEnd_;
  size_t lineEndLength_;
  const char* limit_;
  std::string buffer_;
  const char* stretchBegin_ = nullptr;
  const char* stretchEnd_ = nullptr;
};
}  // namespace

bool SaveListedRows(RowListView& list, const TableFile& table, const std::string& target) {
  CTemporaryFile file;
  if (!file.Create(target))
    return false;
  RowWriter writer(file, table);
  if (table.headers && table.lineCount > 0 && !writer.Add(0))
    return false;
  ListItemView items = list.ItemData();
  // Rows in file order are read one after another, which the processor foresees by itself.
  bool ownOrder = items.Stored() != nullptr;
  for (size_t i = 0; i < items.size(); ++i) {
    if (ownOrder && i + kIndexAhead < items.size())
      table.PrefetchRowStart(static_cast<int32_t>(items[i + kIndexAhead]));
    if (ownOrder && i + kBytesAhead < items.size())
      table.PrefetchRowBytes(static_cast<int32_t>(items[i + kBytesAhead]));
    if (!writer.Add(static_cast<int32_t>(items[i])))
      return false;
  }
  return writer.Finish() && file.Replace();
}
