// What a paint handler may do while its window paints.
#pragma once

#include "platform/win32/native/NativeTypes.h"

namespace native {

class PaintSurface {
 public:
  virtual ~PaintSurface() = default;
  virtual Rect ClientRect() const = 0;
  // Erases the background the way a minimised window's is erased (WM_ICONERASEBKGND).
  virtual void EraseIconBackground() = 0;
  virtual bool DrawIcon(int x, int y, Handle icon) = 0;
};

}  // namespace native
