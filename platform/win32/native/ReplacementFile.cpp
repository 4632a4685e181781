#include "platform/win32/native/ReplacementFile.h"

#include <windows.h>

namespace native {
namespace {
std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

bool Identify(const std::string& path, BY_HANDLE_FILE_INFORMATION* info) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  bool known = GetFileInformationByHandle(file, info) != FALSE;
  CloseHandle(file);
  return known;
}
}  // namespace

ReplacementFile::~ReplacementFile() {
  Discard();
}

void ReplacementFile::Discard() {
  if (!file_)
    return;
  CloseHandle(static_cast<HANDLE>(file_));
  file_ = nullptr;
  DeleteFileA(temporary_.c_str());
}

bool ReplacementFile::Create(const std::string& target) {
  Discard();
  char name[MAX_PATH] = {};
  // Makes an empty file of a name unique in the folder.
  if (!GetTempFileNameA(FolderOf(target).c_str(), "lnt", 0, name))
    return false;
  HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(name);
    return false;
  }
  file_ = file;
  target_ = target;
  temporary_ = name;
  failed_ = false;
  return true;
}

bool ReplacementFile::Write(const char* data, size_t size) {
  while (size > 0 && file_ && !failed_) {
    DWORD chunk = size > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(file_), data, chunk, &written, nullptr) || written == 0) {
      failed_ = true;
      break;
    }
    data += written;
    size -= written;
  }
  return size == 0 && !failed_;
}

bool ReplacementFile::Replace() {
  if (!file_)
    return false;
  HANDLE file = static_cast<HANDLE>(file_);
  bool ok = !failed_ && FlushFileBuffers(file) != FALSE;
  ok = CloseHandle(file) != FALSE && ok;
  file_ = nullptr;
  ok = ok && MoveFileExA(temporary_.c_str(), target_.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!ok)
    DeleteFileA(temporary_.c_str());
  return ok;
}

bool ReplacementFile::SameFile(const std::string& first, const std::string& second) {
  BY_HANDLE_FILE_INFORMATION a{};
  BY_HANDLE_FILE_INFORMATION b{};
  return Identify(first, &a) && Identify(second, &b) &&
         a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace native
