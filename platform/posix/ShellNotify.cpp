#include "platform/ShellNotify.h"

#include "platform/posix/RegisteredFileTypes.h"
#include "platform/posix/XdgAssociation.h"

void SHChangeNotify(LONG eventId, UINT /*flags*/, const void* /*item1*/, const void* /*item2*/) {
  if ((eventId & SHCNE_ASSOCCHANGED) == 0)
    return;
  XdgAssociation::ForUser().Mirror(ReadRegisteredFileTypes());
}

// The program keeps its own list of recent files; the desktop's lists are not written here.
void SHAddToRecentDocs(UINT /*flags*/, const void* /*document*/) {}
