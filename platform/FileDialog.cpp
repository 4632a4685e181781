#include "platform/FileDialog.h"

#include <cstring>

#include "platform/Backend.h"

// The program never names an initial file, so no backend shows one.
CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension,
                         const char* /*fileName*/, DWORD flags, const char* filter)
    : m_bOpenFileDialog(openFileDialog) {
  m_ofn.Flags = flags;
  m_ofn.lpstrDefExt = defaultExtension;
  m_ofn.lpstrFilter = filter;
}

int CFileDialog::DoModal() {
  return CurrentBackend().RunFileDialog(*this);
}

std::string CFileDialog::NameWithDefaultExtension(const std::string& typed) const {
  const char* extension = m_ofn.lpstrDefExt;
  size_t name = typed.find_last_of("/\\");
  name = name == std::string::npos ? 0 : name + 1;
  if (!extension || !*extension || typed.find('.', name) != std::string::npos)
    return typed;
  return typed + "." + extension;
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
