#include "platform/DropFiles.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr UINT kCountQuery = 0xFFFFFFFF;
}  // namespace

UINT DragQueryFileA(HDROP drop, UINT index, char* file, UINT size) {
  if (!drop)
    return 0;
  if (index == kCountQuery)
    return static_cast<UINT>(drop->names.size());
  if (index >= drop->names.size())
    return 0;
  const std::string& name = drop->names[index];
  if (!file)
    return static_cast<UINT>(name.size());
  if (size == 0)
    return 0;
  size_t copied = std::min<size_t>(name.size(), size - 1);
  std::memcpy(file, name.data(), copied);
  file[copied] = '\0';
  return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop) {
  if (drop)
    drop->finished = true;
}
