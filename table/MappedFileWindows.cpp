#include "platform/win32/native/FileView.h"
#include "table/MappedFile.h"

namespace {
const char kNoBytes[1] = {};
}  // namespace

MappedFile::~MappedFile() {
  Close();
}

bool MappedFile::Open(const char* path) {
  Close();
  auto* view = new native::FileView;
  if (!view->Open(path)) {
    delete view;
    return false;
  }
  view_ = view;
  data_ = view->Data() ? view->Data() : kNoBytes;
  size_ = view->Size();
  return true;
}

void MappedFile::Close() {
  delete static_cast<native::FileView*>(view_);
  view_ = nullptr;
  data_ = nullptr;
  size_ = 0;
}

bool MappedFile::Lost() const {
  return false;
}
