// Tells the desktop that something it shows has changed, as a program does after it has written
// or removed file-type keys. On Windows the keys are the association and the shell only redraws;
// elsewhere the platform makes the desktop's own files follow the keys.
#pragma once

#include "platform/Win32.h"

constexpr LONG SHCNE_ASSOCCHANGED = 0x08000000;
constexpr UINT SHCNF_IDLIST = 0x0000;

void SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2);

// Tells the desktop that the user opened this document (SHARD_PATHA: a path in the code page's
// bytes), so that its own lists of recent documents and places offer it. Where the desktop keeps
// no such list it does nothing.
constexpr UINT SHARD_PATHA = 0x00000002;
void SHAddToRecentDocs(UINT flags, const void* document);
