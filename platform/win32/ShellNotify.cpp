#include "platform/ShellNotify.h"

#include "platform/win32/native/ShellChange.h"

// On Windows the file-type keys are the association; the shell only needs to hear of the change.
void SHChangeNotify(LONG eventId, UINT /*flags*/, const void* /*item1*/, const void* /*item2*/) {
  if (eventId == SHCNE_ASSOCCHANGED)
    native::NotifyAssociationsChanged();
}

void SHAddToRecentDocs(UINT flags, const void* document) {
  if (flags == SHARD_PATHA && document)
    native::AddToRecentDocuments(static_cast<const char*>(document));
}
