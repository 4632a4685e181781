#include "platform/ShellNotify.h"

#include "platform/posix/RegisteredFileTypes.h"
#include "platform/posix/XdgAssociation.h"

void SHChangeNotify(LONG eventId, UINT /*flags*/, const void* /*item1*/, const void* /*item2*/) {
  if ((eventId & SHCNE_ASSOCCHANGED) == 0)
    return;
  XdgAssociation::ForUser().Mirror(ReadRegisteredFileTypes());
}
