// A .qdx file split in place into rows and fields. Every `;` and the first LF of every run of
// line ends become NUL, so a row is its fields one after another, each ended by a NUL, and a row
// reference is a pointer to the row's first byte inside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "table/FileBuffer.h"
#include "table/RowSplitter.h"

class TableFile {
 public:
  // `columnTitleFormat` titles a column without a header field, given the 1-based column number
  // as a long; the caller keeps it alive as long as the table.
  explicit TableFile(const char* columnTitleFormat);
  ~TableFile();
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  // Loads and splits the file; called once, on a fresh table. On failure the table stays empty.
  bool Parse(const char* path, bool headers);

  // The title of a column. A formatted title lives in a buffer that the next call overwrites.
  const char* ColumnName(int32_t index);

  // Field k (0-based) of a row of this table; the empty text when the row has no field k. Never
  // reads past the row's last field.
  const char* FieldText(const char* row, int32_t k) const;
  // Fields 0 to count - 1 of a row, exactly as FieldText gives them one by one, with their lengths,
  // in one walk along the row.
  void FieldTexts(const char* row, int32_t count, const char** texts, size_t* lengths) const;
  // The same for the fields the row has, up to `count`; returns how many that is. A row's missing
  // fields cost nothing, however many columns the table has.
  int32_t RowFields(const char* row, int32_t count, const char** texts, size_t* lengths) const;

  // Appends the row's bytes as the file holds them, every field of the row and the `;` between
  // them, without its line end. Known limit of a table split in place: a CR inside a field, which
  // the split removes with those of the line ends, is not there.
  void AppendRowBytes(const char* row, std::string& out) const;
  // How the file ends its lines, as its first line ends: "\r\n" or "\n".
  const char* LineEnd() const { return crLf_ ? "\r\n" : "\n"; }

  int32_t DataRowCount() const;
  const char* DataRow(int32_t i) const;

  // The file's bytes after the split.
  const FileBuffer& Buffer() const { return buffer_; }

  bool headers = false;
  const char** rowStarts = nullptr;
  int32_t lineCount = 0;
  int32_t columnCount = 0;

 private:
  void Clear();
  // The first byte after a row: where the next row starts, or the end of the content.
  const char* RowEnd(const char* row) const;
  // Whether a walk that has just passed one of the row's NULs stands past its last field: on a
  // leftover line end, or at the next row. The row's end is looked up once, into `end`.
  bool PastRow(const char* row, const char* p, const char*& end) const;
  // How many fields a row has, for a row with fewer than columnCount; columnCount for the others.
  int32_t FieldsBelowColumns(const char* row) const;
  // How many fields a row has, also past the columns.
  int32_t FieldCount(const char* row) const;
  // Notes the rows with more fields than columns, in one walk over every row on every core.
  void FindLongRows() const;

  FileBuffer buffer_;
  const char* columnTitleFormat_;
  // How a row's end is known: most rows have at least as many fields as the fewest of any row,
  // so a walk to a field below that count needs no check at all. A walk to another column looks
  // the row up among the short rows, those with fewer fields than columns, which are few in most
  // files; a mark per 64 bytes of the buffer tells at once whether a short row starts there, so
  // the rest need no search. Only a walk past the columns looks up the row's end, by a binary
  // search in `rowStarts`. This keeps a sort of millions of rows free of work per comparison.
  int32_t minFields_ = 0;
  std::vector<ShortRow> shortRows_;
  std::vector<uint64_t> shortMarks_;
  // The rows with more fields than columns, marked the same way. Only writing rows out needs
  // them, so they are found on its first call.
  mutable bool longRowsKnown_ = false;
  mutable std::vector<ShortRow> longRows_;
  mutable std::vector<uint64_t> longMarks_;
  // The first line's fields, found once: a title is asked for by column number, and walking to
  // each one afresh would cost columns x columns on a wide file.
  std::vector<const char*> titles_;
  char title_[32] = {};
  bool crLf_ = false;
};
