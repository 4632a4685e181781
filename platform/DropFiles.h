// Files dragged from the desktop and dropped on a window: the window gets WM_DROPFILES with a drop
// handle, and reads the names from it as the shell's drop handle is read. A window takes drops only
// while it has asked for them (CWnd::DragAcceptFiles, the WS_EX_ACCEPTFILES style).
#pragma once

#include <string>
#include <vector>

#include "platform/Win32.h"

// What a drop carries: the names of the files, full paths, in the order the desktop gave them.
struct DropFiles {
  std::vector<std::string> names;
  bool finished = false;
};
using HDROP = DropFiles*;

// With `index` 0xFFFFFFFF, the number of files. Otherwise the length of that file's name without
// its NUL, and with `file` given, as much of the name as fits in `size` bytes, NUL included;
// 0 for an index past the last file.
UINT DragQueryFileA(HDROP drop, UINT index, char* file, UINT size);
// The window is done with the drop. The handle belongs to whoever delivered the message and lives
// until the message returns, so a window that never calls this leaks nothing.
void DragFinish(HDROP drop);
