#include "platform/win32/native/AcceleratorTable.h"

#include <windows.h>

namespace native {
namespace {
constexpr BYTE kKeyFlags = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;
}

AcceleratorTable::~AcceleratorTable() {
  if (table_)
    DestroyAcceleratorTable(static_cast<HACCEL>(table_));
}

bool AcceleratorTable::Build(const std::vector<AcceleratorEntry>& entries) {
  if (table_)
    DestroyAcceleratorTable(static_cast<HACCEL>(table_));
  table_ = nullptr;
  if (entries.empty())
    return false;
  std::vector<ACCEL> table;
  for (const AcceleratorEntry& entry : entries)
    table.push_back(ACCEL{static_cast<BYTE>(entry.flags & kKeyFlags), entry.key, entry.command});
  table_ = CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
  return table_ != nullptr;
}

bool AcceleratorTable::Translate(Handle window, const Message& message) const {
  if (!table_)
    return false;
  MSG msg{};
  msg.hwnd = static_cast<HWND>(message.window);
  msg.message = message.message;
  msg.wParam = message.wParam;
  msg.lParam = message.lParam;
  return TranslateAcceleratorA(static_cast<HWND>(window), static_cast<HACCEL>(table_), &msg) != 0;
}

}  // namespace native
