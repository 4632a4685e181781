#include "platform/win32/native/CommonDialogs.h"

#include <windows.h>

#include <commdlg.h>

namespace native {
namespace {
// The folder to start in: the given one, or the folder of a file that it names.
std::string StartFolder(const std::string& given) {
  DWORD attributes = GetFileAttributesA(given.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return given;
  size_t slash = given.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : given.substr(0, slash);
}
}  // namespace

int CommonDialogs::ShowMessage(Handle owner, const std::string& text, const std::string& caption,
                               unsigned type) {
  return MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), type);
}

bool CommonDialogs::AskFileToOpen(const OpenFileRequest& request, std::string* path) {
  return AskFile(request, false, path);
}

bool CommonDialogs::AskFileToSave(const OpenFileRequest& request, std::string* path) {
  return AskFile(request, true, path);
}

bool CommonDialogs::AskFile(const OpenFileRequest& request, bool save, std::string* path) {
  std::string filter;
  for (const auto& [description, pattern] : request.filters) {
    filter += description;
    filter += '\0';
    filter += pattern;
    filter += '\0';
  }
  filter += '\0';
  std::string folder = request.initialDir.empty() ? std::string() : StartFolder(request.initialDir);
  std::vector<char> file(32768, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(request.owner);
  dialog.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.Flags = request.flags | OFN_EXPLORER;
  dialog.lpstrDefExt =
      request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)))
    return false;
  *path = file.data();
  return true;
}

}  // namespace native
