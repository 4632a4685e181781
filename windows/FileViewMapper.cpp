#include "windows/FileViewMapper.h"

#include "platform/win32/native/FileView.h"

namespace {

bool MapView(const char* path, MappedBytes& bytes) {
  auto* view = new native::FileView;
  if (!view->Open(path)) {
    delete view;
    return false;
  }
  bytes.data = view->Data();
  bytes.size = view->Size();
  bytes.handle = view;
  return true;
}

void UnmapView(void* handle) {
  delete static_cast<native::FileView*>(handle);
}

}  // namespace

const FileMapper kFileViewMapper = {MapView, UnmapView};
