// Sees each message the modal loop retrieves before anything else does.
#pragma once

#include "platform/win32/native/NativeTypes.h"

namespace native {

class MessageFilter {
 public:
  virtual ~MessageFilter() = default;
  // True when the message has been dealt with and goes no further.
  virtual bool PreTranslate(const Message& message) = 0;
};

}  // namespace native
