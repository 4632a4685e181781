#include "platform/win32/native/Normalization.h"

#include <windows.h>

namespace native {
namespace {
using NormalizeFunction = int(WINAPI*)(int form, const wchar_t* source, int sourceLength,
                                       wchar_t* target, int targetLength);
constexpr int kComposed = 1;    // NormalizationC
constexpr int kDecomposed = 2;  // NormalizationD

// Windows 8 and later (and Wine) have it in KERNEL32; Windows 7 only in NORMALIZ. Looked up, so
// that the program still starts where neither has it.
NormalizeFunction FindNormalize() {
  for (const char* library : {"kernel32.dll", "normaliz.dll"}) {
    HMODULE module = library[0] == 'k' ? GetModuleHandleA(library) : LoadLibraryA(library);
    FARPROC found = module ? GetProcAddress(module, "NormalizeString") : nullptr;
    if (found)
      return reinterpret_cast<NormalizeFunction>(reinterpret_cast<void*>(found));
  }
  return nullptr;
}
}  // namespace

std::u16string Normalized(const std::u16string& text, bool composed) {
  static const NormalizeFunction normalize = FindNormalize();
  if (!normalize || text.empty())
    return text;
  int form = composed ? kComposed : kDecomposed;
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  // The size asked for is an estimate; a larger one is asked for while it is too small.
  int room = normalize(form, source, length, nullptr, 0);
  for (int attempt = 0; attempt < 4 && room > 0; ++attempt) {
    std::u16string result(static_cast<size_t>(room), u'\0');
    int made = normalize(form, source, length, reinterpret_cast<wchar_t*>(result.data()), room);
    if (made > 0) {
      result.resize(static_cast<size_t>(made));
      return result;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      break;
    room = -made;
  }
  return text;
}

}  // namespace native
