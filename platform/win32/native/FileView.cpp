#include "platform/win32/native/FileView.h"

#include <windows.h>

#include <limits>

namespace native {

FileView::~FileView() {
  Close();
}

bool FileView::Open(const std::string& path) {
  Close();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  LARGE_INTEGER size;
  // A device (NUL, a console, a pipe) is no file on a disk and has no length to map.
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
      static_cast<uint64_t>(size.QuadPart) > std::numeric_limits<size_t>::max()) {
    CloseHandle(file);
    return false;
  }
  size_ = static_cast<uint64_t>(size.QuadPart);
  if (size_ == 0) {
    CloseHandle(file);
    return true;
  }
  // The view holds the mapping and the file open by itself once it exists.
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  CloseHandle(file);
  if (!mapping) {
    size_ = 0;
    return false;
  }
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  CloseHandle(mapping);
  if (!view) {
    size_ = 0;
    return false;
  }
  data_ = static_cast<const char*>(view);
  return true;
}

void FileView::Close() {
  if (data_)
    UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace native
