#include "platform/win32/native/ShellChange.h"

#include <shlobj.h>
#include <windows.h>

namespace native {

void NotifyAssociationsChanged() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace native
