// The split of a file's content into rows and fields, in place: every `;` becomes NUL, and in each
// run of LF bytes the first becomes NUL while the rest stay. Two splitters do the same work: one a
// word at a time that runs anywhere, and one 64 bytes at a time for processors with AVX2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SplitResult {
  // Row starts stored after entry 0: at most the line count given.
  int32_t stored = 0;
  // The fewest fields of any stored row; INT32_MAX when no row was stored.
  int32_t minFields = INT32_MAX;
};

// Splits `length` bytes at `data`. The start of the row after each run of LF bytes goes to
// rowStarts[1], rowStarts[2], ... for the first `lineCount` runs.
SplitResult SplitRowsNarrow(char* data, size_t length, const char** rowStarts, int32_t lineCount);
SplitResult SplitRowsWide(char* data, size_t length, const char** rowStarts, int32_t lineCount);
// Whether this processor runs SplitRowsWide.
bool CanSplitWide();
// The faster splitter that this processor runs.
SplitResult SplitRows(char* data, size_t length, const char** rowStarts, int32_t lineCount);
// Splits a part of the content that starts at a row start, appending the start of the row after
// each of its runs of LF bytes to `starts`, however many there are.
SplitResult SplitPart(char* data, size_t length, std::vector<const char*>& starts);
