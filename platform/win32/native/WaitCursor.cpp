#include "platform/win32/native/WaitCursor.h"

#include <windows.h>

namespace native {
namespace {
int depth = 0;
HCURSOR previous = nullptr;
}  // namespace

void WaitCursor::Begin() {
  if (depth++ == 0)
    previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void WaitCursor::End() {
  if (depth == 0)
    return;
  if (--depth == 0) {
    SetCursor(previous ? previous : LoadCursor(nullptr, IDC_ARROW));
    previous = nullptr;
  }
}

bool WaitCursor::Active() {
  return depth > 0;
}

bool WaitCursor::Apply() {
  if (depth == 0)
    return false;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  return true;
}

}  // namespace native
