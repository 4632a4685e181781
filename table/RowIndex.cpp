#include "table/RowIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "table/RowSplitter.h"
#include "table/Workers.h"

namespace {
int32_t CountLines(const char* data, const char* counted) {
  int32_t lines = 0;
  for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', counted - p)));) {
    ++lines;
    while (p < counted && *p == '\n')
      ++p;
  }
  return lines;
}

bool Allocate(RowIndex& index, int32_t lineCount, char* data) {
  index.rowStarts = static_cast<const char**>(
      std::calloc(static_cast<size_t>(lineCount) + 1, sizeof(const char*)));
  if (!index.rowStarts)
    return false;
  index.rowStarts[0] = data;
  index.lineCount = lineCount;
  return true;
}

bool IndexInOnePass(char* data, size_t length, int32_t columns, RowIndex& index) {
  const char* firstNul = static_cast<const char*>(std::memchr(data, '\0', length));
  if (!Allocate(index, CountLines(data, firstNul ? firstNul : data + length), data))
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

// The fields of the counted rows, found by their NUL bytes: needed only after a NUL byte in the
// file has cut the counted rows short of the split ones.
int32_t FewestFields(const RowIndex& index) {
  int32_t fewest = INT32_MAX;
  for (int32_t k = 0; k < index.lineCount; ++k) {
    const char* row = index.rowStarts[k];
    auto fields = static_cast<int32_t>(std::count(row, index.rowStarts[k + 1], '\0'));
    fewest = std::min(fewest, fields);
  }
  return index.lineCount == 0 ? 0 : fewest;
}

bool IndexInParts(char* data, size_t length, int32_t columns, RowIndex& index, size_t partBytes) {
  std::vector<size_t> bounds = PartBounds(data, length, partBytes);
  size_t parts = bounds.size() - 1;
  std::vector<std::vector<const char*>> starts(parts);
  std::vector<std::vector<ShortRow>> shortRows(parts);
  std::vector<SplitResult> results(parts);
  std::vector<size_t> firstNuls(parts, length);
  Workers::ForEach(parts, [&](size_t part) {
    char* from = data + bounds[part];
    size_t size = bounds[part + 1] - bounds[part];
    if (const void* nul = std::memchr(from, '\0', size))
      firstNuls[part] = static_cast<size_t>(static_cast<const char*>(nul) - data);
    starts[part].reserve(size / 64);
    results[part] = SplitPart(from, size, starts[part], ShortRowSink{&shortRows[part], columns});
  });
  size_t total = 0;
  int32_t fewest = INT32_MAX;
  for (size_t part = 0; part < parts; ++part) {
    total += starts[part].size();
    fewest = std::min(fewest, results[part].minFields);
  }
  // A run counts when it lies before the first NUL byte, that is when the row after it starts at
  // or before that NUL.
  const char* firstNul = data + *std::min_element(firstNuls.begin(), firstNuls.end());
  size_t counted = total;
  std::vector<size_t> offsets(parts + 1, 0);
  for (size_t part = 0; part < parts; ++part) {
    const auto& s = starts[part];
    offsets[part + 1] = offsets[part] + s.size();
    if (counted == total && !s.empty() && s.back() > firstNul)
      counted = offsets[part] +
                static_cast<size_t>(std::upper_bound(s.begin(), s.end(), firstNul) - s.begin());
  }
  if (counted > INT32_MAX || !Allocate(index, static_cast<int32_t>(counted), data))
    return false;
  Workers::ForEach(parts, [&](size_t part) {
    size_t from = std::min(offsets[part], counted);
    size_t to = std::min(offsets[part + 1], counted);
    if (to > from)
      std::memcpy(index.rowStarts + 1 + from, starts[part].data(), (to - from) * sizeof(char*));
    std::vector<const char*>().swap(starts[part]);
  });
  index.minFields = counted == total ? (counted == 0 ? 0 : fewest) : FewestFields(index);
  // Rows from the one that holds the first NUL byte on are not counted.
  const char* countedEnd = index.rowStarts[counted];
  for (const auto& part : shortRows) {
    for (const ShortRow& row : part) {
      if (row.start < countedEnd)
        index.shortRows.push_back(row);
    }
  }
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
