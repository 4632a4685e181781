#include "view/WidthScan.h"

#include "platform/ListCtrl.h"
#include "table/FieldWalk.h"

WidthScan::WidthScan() = default;

WidthScan::~WidthScan() = default;

void WidthScan::Begin(int32_t columns) {
  LongestTexts empty = CListCtrl::FirstCandidates(static_cast<size_t>(columns));
  capacity_ = empty.Capacity();
  pool_ = std::make_unique<LongestTextsPool>(empty);
  columns_ = columns;
  data_ = nullptr;
  pastRows_ = false;
}

LineCount WidthScan::Count(const char* data, size_t length, bool fileStart, bool fileEnd) {
  const char* end = data + length;
  // The first line's fields are the titles, which the list does not show at a load.
  const char* rowsFrom = data;
  if (fileStart) {
    data_ = data;
    while (rowsFrom < end && !IsLineEnd(*rowsFrom))
      ++rowsFrom;
  }
  std::unique_ptr<LongestTexts> mine = pool_->Take();
  LineCount count = fields::WalkFields(
      data, end, fileEnd,
      [&](int32_t column, const char* text, size_t size, bool printable,
          const fields::FieldNondigits& nondigits) {
        if (column < columns_ && text >= rowsFrom)
          mine->Offer(static_cast<size_t>(column), text, size, printable, nondigits);
      });
  pool_->Give(std::move(mine));
  if (count.firstNul < length)
    pastRows_ = true;
  return count;
}

bool WidthScan::HandOver(LongestTexts& longest, const char* data) {
  bool same = pool_ && data && data == data_ && !pastRows_ &&
              longest.Columns() == static_cast<size_t>(columns_) && longest.Capacity() <= capacity_;
  if (same)
    pool_->MergeInto(longest);
  Forget();
  return same;
}

void WidthScan::Forget() {
  pool_.reset();
  data_ = nullptr;
}
