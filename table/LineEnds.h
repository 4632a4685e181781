// Finding where rows start in a file's bytes, without changing them. A line end is a run of CR and
// LF bytes: a CR is left out wherever it stands, so CR LF and LF read the same, and a run of line
// ends ends one row. The next row starts at the first byte after the run. Two scanners do the same
// work: one a byte or a word at a time that runs anywhere, one 64 bytes at a time with AVX2.
#pragma once

#include <cstddef>
#include <cstdint>

// What a count finds in a stretch of bytes that starts a row (or the file).
struct LineCount {
  // The runs of line-end bytes that begin before the first NUL.
  size_t runs = 0;
  // Where the first NUL lies, from the stretch's start; `length` when there is none.
  size_t firstNul = 0;
  // A CR before the first NUL that is not directly followed by an LF, nor the file's last byte: a
  // CR inside a field, or one that ends a line by itself. Rows are then not where the runs say,
  // and the file must be read without its CR bytes.
  bool strayCarriageReturn = false;
};

// Counts the stretch of `length` bytes at `data`; `fileEnd`: the stretch ends the file, so a CR at
// its end ends the last line.
LineCount CountLineEndsNarrow(const char* data, size_t length, bool fileEnd);
LineCount CountLineEndsWide(const char* data, size_t length, bool fileEnd);
LineCount CountLineEnds(const char* data, size_t length, bool fileEnd);

// Stores where the rows after the first `most` runs start, as `base` plus their offset in the
// stretch, into starts[0], starts[1], ...; returns how many it stored.
template <class Offset>
size_t StoreRowStartsNarrow(const char* data, size_t length, uint64_t base, Offset* starts,
                            size_t most);
template <class Offset>
size_t StoreRowStartsWide(const char* data, size_t length, uint64_t base, Offset* starts,
                          size_t most);
template <class Offset>
size_t StoreRowStarts(const char* data, size_t length, uint64_t base, Offset* starts, size_t most);

// Whether this processor runs the wide scanners.
bool CanScanWide();

inline bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}
