#include "platform/win32/IconCache.h"

#include "platform/IconBitmap.h"
#include "platform/win32/NativeDescriptions.h"

native::Handle IconCache::Get(HICON icon, int size) {
  if (!icon || icon->images.empty())
    return nullptr;
  auto [slot, made] = icons_.try_emplace({icon, size});
  if (made)
    slot->second.Build(DescribeIconBitmap(RenderIconBitmap(icon, size)));
  return slot->second.Get();
}
