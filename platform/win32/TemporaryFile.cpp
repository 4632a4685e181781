#include "platform/TemporaryFile.h"

#include "platform/win32/native/ReplacementFile.h"

struct CTemporaryFile::System {
  native::ReplacementFile file;
};

CTemporaryFile::CTemporaryFile() : system_(std::make_unique<System>()) {}

CTemporaryFile::~CTemporaryFile() = default;

bool CTemporaryFile::Create(const std::string& target) {
  return system_->file.Create(target);
}

bool CTemporaryFile::Write(const char* data, size_t size) {
  return system_->file.Write(data, size);
}

bool CTemporaryFile::Replace() {
  return system_->file.Replace();
}

bool IsSameFile(const std::string& first, const std::string& second) {
  return native::ReplacementFile::SameFile(first, second);
}
