// The candidates of the first fit of widths after a load, gathered while the load counts the
// rows: every field of the rows after the first (the titles, at a load) is offered to a fit's
// collection as the count walks past it, so that the fit reads no byte of the file again.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/LongestTextsPool.h"
#include "table/RowIndex.h"

class WidthScan : public RowScan {
 public:
  WidthScan();
  ~WidthScan() override;

  void Begin(int32_t columns) override;
  LineCount Count(const char* data, size_t length, bool fileStart, bool fileEnd) override;

  // Hands what was gathered to `longest` and forgets it, when it was gathered over the bytes at
  // `data` for a collection like `longest`; false, and nothing handed, otherwise.
  bool HandOver(LongestTexts& longest, const char* data);
  void Forget();

 private:
  std::unique_ptr<LongestTextsPool> pool_;
  int32_t columns_ = 0;
  size_t capacity_ = 0;
  const char* data_ = nullptr;
  // A NUL ends the rows before the end of the bytes, and some fields seen lie past them.
  std::atomic<bool> pastRows_{false};
};
