// An accelerator table built from entries, for the modal loop to translate keys with.
#pragma once

#include <vector>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class AcceleratorTable {
 public:
  AcceleratorTable() = default;
  ~AcceleratorTable();
  AcceleratorTable(const AcceleratorTable&) = delete;
  AcceleratorTable& operator=(const AcceleratorTable&) = delete;

  // The end-of-table bit of the resource format, if set, is dropped.
  bool Build(const std::vector<AcceleratorEntry>& entries);
  Handle Get() const { return table_; }
  // What TranslateAccelerator does with the message for `window`: true when the message was a key
  // of the table and `window` was sent its command.
  bool Translate(Handle window, const Message& message) const;

 private:
  Handle table_ = nullptr;
};

}  // namespace native
