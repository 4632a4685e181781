#include "table/RowIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "table/HugePages.h"
#include "table/RowSplitter.h"
#include "table/Workers.h"

namespace {
// Every entry is written by the split, so the index is not cleared first; huge pages spare most
// of the faults that fresh memory costs.
bool Allocate(RowIndex& index, int32_t lineCount, char* data) {
  index.rowStarts = static_cast<const char**>(
      AllocateHugePages((static_cast<size_t>(lineCount) + 1) * sizeof(const char*)));
  if (!index.rowStarts)
    return false;
  index.rowStarts[0] = data;
  index.lineCount = lineCount;
  return true;
}

bool IndexInOnePass(char* data, size_t length, int32_t columns, RowIndex& index) {
  const char* firstNul = static_cast<const char*>(std::memchr(data, '\0', length));
  size_t counted = firstNul ? static_cast<size_t>(firstNul - data) : length;
  size_t lines = CountRuns(data, counted);
  if (lines > INT32_MAX || !Allocate(index, static_cast<int32_t>(lines), data))
    return false;
  SplitResult split = SplitRows(data, length, index.rowStarts, index.lineCount,
                                ShortRowSink{&index.shortRows, columns});
  index.minFields = index.lineCount == 0 ? 0 : split.minFields;
  return true;
}

// Where each part begins: at the first row start at or after an even share of the content, so
// that no run of LF bytes is cut in two and every part splits on its own.
std::vector<size_t> PartBounds(const char* data, size_t length, size_t partBytes) {
  size_t parts = std::max<size_t>(1, length / partBytes);
  std::vector<size_t> bounds{0};
  for (size_t i = 1; i < parts; ++i) {
    size_t at = std::max(bounds.back(), length / parts * i);
    const void* lf = std::memchr(data + at, '\n', length - at);
    at = lf ? static_cast<size_t>(static_cast<const char*>(lf) - data) : length;
    while (at < length && data[at] == '\n')
      ++at;
    bounds.push_back(at);
  }
  bounds.push_back(length);
  return bounds;
}

// Each part's runs are counted first, on every core, so that its rows' place in the index is
// known; then each part is split straight into its place.
bool IndexInParts(char* data, size_t length, int32_t columns, RowIndex& index, size_t partBytes) {
  std::vector<size_t> bounds = PartBounds(data, length, partBytes);
  size_t parts = bounds.size() - 1;
  std::vector<size_t> runs(parts);
  std::vector<uint8_t> holdsNul(parts);
  Workers::ForEach(parts, [&](size_t part) {
    const char* from = data + bounds[part];
    size_t size = bounds[part + 1] - bounds[part];
    // Only the runs before the first NUL byte count.
    if (const void* nul = std::memchr(from, '\0', size)) {
      holdsNul[part] = 1;
      size = static_cast<size_t>(static_cast<const char*>(nul) - from);
    }
    runs[part] = CountRuns(from, size);
  });
  std::vector<size_t> offsets(parts + 1, 0);
  bool pastNul = false;
  for (size_t part = 0; part < parts; ++part) {
    offsets[part + 1] = offsets[part] + (pastNul ? 0 : runs[part]);
    pastNul = pastNul || holdsNul[part];
  }
  if (offsets[parts] > INT32_MAX || !Allocate(index, static_cast<int32_t>(offsets[parts]), data))
    return false;
  std::vector<SplitResult> results(parts);
  std::vector<std::vector<ShortRow>> shortRows(parts);
  Workers::ForEach(parts, [&](size_t part) {
    auto stored = static_cast<int32_t>(offsets[part + 1] - offsets[part]);
    results[part] =
        SplitRows(data + bounds[part], bounds[part + 1] - bounds[part],
                  index.rowStarts + offsets[part], stored, ShortRowSink{&shortRows[part], columns});
  });
  index.minFields = INT32_MAX;
  for (size_t part = 0; part < parts; ++part) {
    index.minFields = std::min(index.minFields, results[part].minFields);
    index.shortRows.insert(index.shortRows.end(), shortRows[part].begin(), shortRows[part].end());
  }
  if (index.lineCount == 0)
    index.minFields = 0;
  return true;
}
}  // namespace

bool IndexRows(char* data, size_t length, int32_t columns, RowIndex& index, size_t partBytes) {
  index = RowIndex{};
  partBytes = std::max<size_t>(partBytes, 1);
  if (Workers::Count() == 1 || length < 2 * partBytes)
    return IndexInOnePass(data, length, columns, index);
  return IndexInParts(data, length, columns, index, partBytes);
}
