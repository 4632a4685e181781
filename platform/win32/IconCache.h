// The native pictures of the platform's icons, each made once for each size it is shown at and
// kept while the backend lives, since the windows that show one do not own it.
#pragma once

#include <map>
#include <utility>

#include "platform/Resources.h"
#include "platform/win32/native/NativeIcon.h"
#include "platform/win32/native/NativeTypes.h"

class IconCache {
 public:
  // The picture of `icon` at `size` pixels (RenderIconBitmap); null when there is none.
  native::Handle Get(HICON icon, int size);

 private:
  std::map<std::pair<HICON, int>, native::NativeIcon> icons_;
};
