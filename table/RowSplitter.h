// The split of a file's content into rows and fields, in place: every `;` becomes NUL, and in each
// run of LF bytes the first becomes NUL while the rest stay. Two splitters do the same work: one a
// word at a time that runs anywhere, and one 64 bytes at a time for processors with AVX2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A row with fewer fields than the table has columns.
struct ShortRow {
  const char* start;
  int32_t fields;
};

// Where a split puts the rows with fewer than `fewerThan` fields, in file order; none when null.
struct ShortRowSink {
  std::vector<ShortRow>* rows = nullptr;
  int32_t fewerThan = 0;
};

struct SplitResult {
  // Row starts stored after entry 0: at most the line count given.
  int32_t stored = 0;
  // The fewest fields of any stored row; INT32_MAX when no row was stored.
  int32_t minFields = INT32_MAX;
};

// Splits `length` bytes at `data`. The start of the row after each run of LF bytes goes to
// rowStarts[1], rowStarts[2], ... for the first `lineCount` runs.
SplitResult SplitRowsNarrow(char* data, size_t length, const char** rowStarts, int32_t lineCount,
                            ShortRowSink shortRows = {});
SplitResult SplitRowsWide(char* data, size_t length, const char** rowStarts, int32_t lineCount,
                          ShortRowSink shortRows = {});
// Whether this processor runs SplitRowsWide.
bool CanSplitWide();
// The faster splitter that this processor runs.
SplitResult SplitRows(char* data, size_t length, const char** rowStarts, int32_t lineCount,
                      ShortRowSink shortRows = {});
// The runs of LF bytes among `length` bytes at `data`, which must not follow an LF byte.
size_t CountRuns(const char* data, size_t length);
