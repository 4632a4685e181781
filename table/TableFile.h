// A .qdx file as rows and fields, read in place from the file's bytes: the row index holds where
// each row starts, and a field runs from the row's start or a `;` up to the next `;`, the line end
// or the end of the row. A row is named by its number in the file, 0 for the first line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/FileBuffer.h"
#include "table/RowIndex.h"

class TableFile {
 public:
  // `columnTitleFormat` titles a column without a header field, given the 1-based column number
  // as a long; the caller keeps it alive as long as the table.
  explicit TableFile(const char* columnTitleFormat);
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  // Maps and indexes the file; called once, on a fresh table. On failure the table stays empty.
  // A `scan` is handed every part of the bytes to count, and sees the fields of the bytes that
  // the table is read from.
  bool Parse(const char* path, bool headers, RowScan* scan = nullptr);

  // The title of a column. A formatted title lives in a buffer that the next call overwrites.
  const char* ColumnName(int32_t index);

  // Field k (0-based; a negative k reads field 0) of row `row`; the empty text when the row has no
  // field k. Never reaches past the row.
  std::string_view FieldText(int32_t row, int32_t k) const;
  // Fields 0 to count - 1 of a row, as FieldText gives them, in one walk along the row; returns
  // how many the row has, up to `count`, and leaves the rest of `texts` alone.
  int32_t RowFields(int32_t row, int32_t count, std::string_view* texts) const;

  // The row's bytes as the file holds them, every field of the row and the `;` between them,
  // without its line end. A file read from a private copy lost its CR bytes there too.
  std::string_view RowBytes(int32_t row) const;
  // How the file ends its lines, as its first line ends: "\r\n" or "\n".
  const char* LineEnd() const { return crLf_ ? "\r\n" : "\n"; }

  int32_t DataRowCount() const;
  int32_t DataRow(int32_t i) const { return headers ? i + 1 : i; }

  // Where a row's bytes begin, and where the next row's begin: the bytes of rows [first, last)
  // are [RowStart(first), RowStart(last)).
  uint64_t RowStart(int32_t row) const { return index_.starts[static_cast<size_t>(row)]; }
  // Asks for a row's entry in the index ahead of need, for walks over rows in an order of their
  // own, which wait on every row otherwise.
  void PrefetchRowStart(int32_t row) const {
    __builtin_prefetch(index_.starts.Address(static_cast<size_t>(row)));
  }
  // Asks for the first bytes of a row ahead of need, once its entry in the index has come.
  void PrefetchRowBytes(int32_t row) const {
    const char* at = buffer_.Data() + RowStart(row);
    __builtin_prefetch(at);
    __builtin_prefetch(at + 64);
  }
  // The bytes that rows and fields lie in.
  const FileBuffer& Buffer() const { return buffer_; }
  // Whether another program cut the file short since it was loaded; its lost rows read as empty.
  bool FileChanged() const { return buffer_.Lost(); }

  bool headers = false;
  int32_t lineCount = 0;
  int32_t columnCount = 0;

 private:
  bool Index(RowScan* scan);
  void CountColumns();
  void ReadTitles();
  void Clear();

  FileBuffer buffer_;
  RowIndex index_;
  const char* columnTitleFormat_;
  // The first line's fields, copied once: a title is asked for by column number, and walking to
  // each one afresh would cost columns x columns on a wide file.
  std::vector<std::string> titles_;
  char title_[32] = {};
  bool crLf_ = false;
};
