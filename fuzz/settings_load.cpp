// The settings loader on any "Config" and "Config - SIZE" values, present or not: whatever the
// load applies comes back the same once saved. Input: byte 0 says which values exist (bits 0 and
// 1), bytes 1 and 2 their types, byte 3 the size value's length; then its bytes, then the image's.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ScratchRegistry.h"
#include "SettingsWindow.h"
#include "app/ProgramResources.h"
#include "platform/MemoryRegistryStore.h"

namespace {

constexpr const char* kKey = "Software\\Lintaro";

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "settings_load: %s\n", what);
  std::abort();
}

struct Setup {
  QuietBackend backend;
  MemoryRegistryStore store;
  Setup() {
    RegisterResources(&ProgramResources());
    SetRegistryStore(&store);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  if (size < 4)
    return 0;
  const bool hasImage = data[0] & 1;
  const bool hasSize = data[0] & 2;
  const size_t sizeLength = std::min<size_t>(data[3], size - 4);
  std::vector<BYTE> sizeBytes(data + 4, data + 4 + sizeLength);
  std::vector<BYTE> image(data + 4 + sizeLength, data + size);
  setup.store.Clear();
  if (hasImage)
    Require(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", data[1], image) == ERROR_SUCCESS,
            "image stored");
  if (hasSize)
    Require(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config - SIZE", data[2], sizeBytes) ==
                ERROR_SUCCESS,
            "size stored");

  SettingsWindow window;
  window.Settings().Load();
  WINDOWPLACEMENT placement = window.Placement();

  // Saved and loaded again, the settings come back; a minimized window comes back normal.
  window.CheckSave(true);
  Require(window.Settings().Save(), "save");
  SettingsWindow again;
  again.Settings().Load();
  Require(again.SaveChecked(), "saved check mark");
  Require(again.Placement().rcNormalPosition == placement.rcNormalPosition, "saved rectangle");
  Require(again.IsZoomed() == window.IsZoomed(), "saved maximized");
  Require(!again.IsIconic(), "saved minimized comes back normal");
  return 0;
}
