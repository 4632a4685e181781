#include "platform/FileDialog.h"

#include <cstring>

#include "platform/Backend.h"

// The program never names an initial file, so no backend shows one.
CFileDialog::CFileDialog(BOOL /*openFileDialog*/, const char* defaultExtension,
                         const char* /*fileName*/, DWORD flags, const char* filter) {
  m_ofn.Flags = flags;
  m_ofn.lpstrDefExt = defaultExtension;
  m_ofn.lpstrFilter = filter;
}

int CFileDialog::DoModal() {
  return CurrentBackend().RunFileDialog(*this);
}

std::vector<std::pair<std::string, std::string>> CFileDialog::Filters() const {
  std::vector<std::pair<std::string, std::string>> filters;
  const char* p = m_ofn.lpstrFilter;
  while (p && *p) {
    std::string description = p;
    p += description.size() + 1;
    std::string pattern = p;
    p += pattern.size() + 1;
    filters.emplace_back(description, pattern);
  }
  return filters;
}
