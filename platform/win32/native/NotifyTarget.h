// A control object that handles the notifications its control sends to the dialog.
#pragma once

#include <cstdint>

namespace native {

class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // `header` is the notification's record as it came with WM_NOTIFY; true when handled, with the
  // result in `result`.
  virtual bool OnNotify(intptr_t header, intptr_t* result) = 0;
};

}  // namespace native
