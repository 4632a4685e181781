#include "platform/Resources.h"

#include <climits>

namespace {
const ResourceSet* registered = nullptr;

template <class T>
const T* FindById(std::span<const T> table, int id) {
  for (const T& row : table) {
    if (row.id == id)
      return &row;
  }
  return nullptr;
}
}  // namespace

// The standard 16-colour palette of the window system's icons.
const DWORD kIconPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void RegisterResources(const ResourceSet* resources) {
  registered = resources;
}

const DialogTemplate* FindDialogTemplate(int id) {
  return registered ? FindById(registered->dialogs, id) : nullptr;
}

const MenuTemplate* FindMenuTemplate(int id) {
  return registered ? FindById(registered->menus, id) : nullptr;
}

const AcceleratorTemplate* LoadAccelerators(int id) {
  return registered ? FindById(registered->accelerators, id) : nullptr;
}

HICON LoadIcon(int id) {
  return registered ? FindById(registered->icons, id) : nullptr;
}

HICON IconAtIndex(int index) {
  if (!registered)
    return nullptr;
  if (index < 0)
    return index == INT_MIN ? nullptr : FindById(registered->icons, -index);
  if (static_cast<size_t>(index) >= registered->icons.size())
    return nullptr;
  return &registered->icons[static_cast<size_t>(index)];
}

std::string LoadString(int id) {
  const StringResource* s = registered ? FindById(registered->strings, id) : nullptr;
  return s ? std::string(s->text) : std::string();
}
