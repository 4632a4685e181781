#include "table/RowIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "table/HugePages.h"
#include "table/LineEnds.h"
#include "table/Workers.h"

RowStarts::~RowStarts() {
  Release();
}

RowStarts::RowStarts(RowStarts&& other) noexcept
    : narrow_(std::exchange(other.narrow_, nullptr)),
      wide_(std::exchange(other.wide_, nullptr)),
      count_(std::exchange(other.count_, 0)),
      carries_(std::move(other.carries_)) {}

RowStarts& RowStarts::operator=(RowStarts&& other) noexcept {
  if (this != &other) {
    Release();
    narrow_ = std::exchange(other.narrow_, nullptr);
    wide_ = std::exchange(other.wide_, nullptr);
    count_ = std::exchange(other.count_, 0);
    carries_ = std::move(other.carries_);
  }
  return *this;
}

bool RowStarts::Allocate(size_t count, bool wide) {
  Release();
  size_t entry = wide ? sizeof(uint64_t) : sizeof(uint32_t);
  if (count > std::numeric_limits<size_t>::max() / entry)
    return false;
  // Every entry is written by the index, so the memory is not cleared first.
  void* block = AllocateHugePages(count * entry);
  if (!block)
    return false;
  if (wide) {
    wide_ = static_cast<uint64_t*>(block);
  } else {
    narrow_ = static_cast<uint32_t*>(block);
  }
  count_ = count;
  return true;
}

void RowStarts::Release() {
  std::free(narrow_);
  std::free(wide_);
  narrow_ = nullptr;
  wide_ = nullptr;
  count_ = 0;
  carries_.clear();
}

namespace {
// Where each part begins: at the first row start after an even share of the bytes, so that no
// run of line ends is cut in two and every part is scanned on its own. A share without a line end
// joins the part before it.
std::vector<size_t> PartBounds(const char* data, size_t length, size_t partBytes) {
  size_t parts = std::max<size_t>(1, length / std::max<size_t>(partBytes, 1));
  std::vector<size_t> bounds{0};
  for (size_t i = 1; i < parts; ++i) {
    size_t at = std::max(bounds.back(), length / parts * i);
    size_t next = length / parts * (i + 1);
    if (at >= next)
      continue;
    const void* lf = std::memchr(data + at, '\n', next - at);
    if (!lf)
      continue;
    at = static_cast<size_t>(static_cast<const char*>(lf) - data);
    while (at < length && IsLineEnd(data[at]))
      ++at;
    // A part of no bytes after the last would leave a CR that ends the file at the end of a part
    // that does not know the file ends there, and that part would count it as a stray CR.
    if (at == length)
      break;
    bounds.push_back(at);
  }
  bounds.push_back(length);
  return bounds;
}

template <class Offset>
void Store(const char* data, const std::vector<size_t>& bounds, const std::vector<size_t>& first,
           size_t parts, Offset* starts) {
  Workers::ForEach(parts, [&](size_t part) {
    size_t from = bounds[part];
    size_t most = first[part + 1] - first[part];
    size_t stored =
        StoreRowStarts(data + from, bounds[part + 1] - from, from, starts + 1 + first[part], most);
    // Bytes that another program changed since the count: the rows it saw end where the part does.
    for (; stored < most; ++stored)
      starts[1 + first[part] + stored] = static_cast<Offset>(bounds[part + 1]);
  });
}
}  // namespace

std::vector<size_t> RowCarries(const uint32_t* lows, size_t entries,
                               const std::vector<size_t>& bounds, const std::vector<size_t>& first,
                               uint64_t length, unsigned bits) {
  const uint64_t step = uint64_t{1} << bits;
  const uint64_t mask = step - 1;
  std::vector<size_t> carries;
  size_t parts = bounds.size() - 1;
  size_t part = 0;
  for (uint64_t boundary = step; boundary <= length; boundary += step) {
    while (part + 1 < parts && bounds[part + 1] < boundary)
      ++part;
    size_t i = 1 + first[part];
    size_t end = part + 1 < parts ? 1 + first[part + 1] : entries;
    // The part's offsets are its start plus less than 2^bits.
    auto offset = [&](size_t at) { return bounds[part] + ((lows[at] - bounds[part]) & mask); };
    while (i < end && offset(i) < boundary)
      ++i;
    carries.push_back(i);
  }
  return carries;
}

// Each part's runs are counted first, on every core, so that its rows' place in the index is
// known; then each part stores its row starts straight into their place.
IndexOutcome IndexRows(const char* data, uint64_t length, RowIndex& index, RowScan* scan,
                       size_t partBytes) {
  index = RowIndex{};
  auto size = static_cast<size_t>(length);
  std::vector<size_t> bounds = Workers::Count() == 1 || size < 2 * partBytes
                                   ? std::vector<size_t>{0, size}
                                   : PartBounds(data, size, partBytes);
  size_t parts = bounds.size() - 1;
  std::vector<LineCount> counts(parts);
  Workers::ForEach(parts, [&](size_t part) {
    const char* from = data + bounds[part];
    size_t bytes = bounds[part + 1] - bounds[part];
    counts[part] = scan ? scan->Count(from, bytes, part == 0, part + 1 == parts)
                        : CountLineEnds(from, bytes, part + 1 == parts);
  });
  // Only the runs before the file's first NUL byte count; the parts after it hold no rows.
  std::vector<size_t> first(parts + 1, 0);
  bool pastNul = false;
  for (size_t part = 0; part < parts; ++part) {
    first[part + 1] = first[part];
    if (pastNul)
      continue;
    if (counts[part].strayCarriageReturn)
      return IndexOutcome::StrayCarriageReturn;
    first[part + 1] += counts[part].runs;
    pastNul = counts[part].firstNul < bounds[part + 1] - bounds[part];
  }
  // The last line needs no line end: the file reads as if one followed it.
  bool unended = !pastNul && (size == 0 || !IsLineEnd(data[size - 1]));
  size_t lines = first[parts] + (unended ? 1 : 0);
  if (lines > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    return IndexOutcome::Failed;
  bool beyond = length > std::numeric_limits<uint32_t>::max();
  bool split = beyond;
  for (size_t part = 0; split && part < parts; ++part)
    split = bounds[part + 1] - bounds[part] <= std::numeric_limits<uint32_t>::max();
  bool wide = beyond && !split;
  if (!index.starts.Allocate(lines + 1, wide))
    return IndexOutcome::Failed;
  index.lineCount = static_cast<int32_t>(lines);
  if (wide) {
    index.starts.Wide()[0] = 0;
    Store(data, bounds, first, parts, index.starts.Wide());
    if (unended)
      index.starts.Wide()[lines] = size;
  } else {
    index.starts.Narrow()[0] = 0;
    Store(data, bounds, first, parts, index.starts.Narrow());
    if (unended)
      index.starts.Narrow()[lines] = static_cast<uint32_t>(size);
    if (split)
      index.starts.SetCarries(
          RowCarries(index.starts.Narrow(), lines + 1, bounds, first, size, 32));
  }
  return IndexOutcome::Indexed;
}
