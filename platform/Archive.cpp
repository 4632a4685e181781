#include "platform/Archive.h"

#include <cstring>

namespace {
constexpr size_t kWord = 4;
}  // namespace

CArchive::CArchive(CMemFile* file, UINT mode, int bufSize, void* buffer)
    : file_(file), mode_(mode == load ? load : store) {
  if (buffer && bufSize >= static_cast<int>(kWord)) {
    buffer_ = static_cast<BYTE*>(buffer);
    capacity_ = static_cast<size_t>(bufSize);
    return;
  }
  own_.resize(bufSize >= static_cast<int>(kWord) ? static_cast<size_t>(bufSize) : kWord);
  buffer_ = own_.data();
  capacity_ = own_.size();
}

CArchive::~CArchive() {
  Close();
}

CArchive& CArchive::operator<<(LONG value) {
  Put(static_cast<DWORD>(value));
  return *this;
}

CArchive& CArchive::operator<<(DWORD value) {
  Put(value);
  return *this;
}

CArchive& CArchive::operator>>(LONG& value) {
  value = static_cast<LONG>(Take());
  return *this;
}

CArchive& CArchive::operator>>(DWORD& value) {
  value = Take();
  return *this;
}

void CArchive::Put(DWORD word) {
  if (!file_)
    throw CArchiveException(CArchiveException::generic);
  if (mode_ != store)
    throw CArchiveException(CArchiveException::readOnly);
  if (held_ + kWord > capacity_)
    Flush();
  for (size_t i = 0; i < kWord; ++i)
    buffer_[held_++] = static_cast<BYTE>(word >> (8 * i));
}

DWORD CArchive::Take() {
  if (!file_)
    throw CArchiveException(CArchiveException::generic);
  if (mode_ != load)
    throw CArchiveException(CArchiveException::writeOnly);
  if (held_ - next_ < kWord) {
    std::memmove(buffer_, buffer_ + next_, held_ - next_);
    held_ -= next_;
    next_ = 0;
    held_ += file_->Read(buffer_ + held_, static_cast<UINT>(capacity_ - held_));
    if (held_ < kWord)
      throw CArchiveException(CArchiveException::endOfFile);
  }
  DWORD word = 0;
  for (size_t i = 0; i < kWord; ++i)
    word |= static_cast<DWORD>(buffer_[next_++]) << (8 * i);
  return word;
}

void CArchive::Flush() {
  if (!file_)
    return;
  if (mode_ == store && held_ > 0)
    file_->Write(buffer_, static_cast<UINT>(held_));
  if (mode_ == load && held_ > next_)
    file_->Seek(-static_cast<LONG>(held_ - next_), CMemFile::current);
  held_ = 0;
  next_ = 0;
}

void CArchive::Close() {
  Flush();
  file_ = nullptr;
}
