// The settings loader on any registry contents: a "Config" value and a "Config - SIZE" value of any
// type, length and bytes, each present or not. What the load applies must be what the image says,
// and once saved again the window's settings must come back the same.
//
// Input: byte 0 says which values exist (bit 0 "Config", bit 1 "Config - SIZE"), bytes 1 and 2
// are their types, byte 3 the length of the size value; then the size value's bytes, then the
// image's.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ProgramResources.h"
#include "app/Resource.h"
#include "platform/Dialog.h"
#include "platform/MemoryRegistryStore.h"
#include "platform/Menu.h"
#include "platform/Registry.h"
#include "platform/headless/HeadlessBackend.h"
#include "settings/SettingsSerializer.h"

namespace {

constexpr const char* kKey = "Software\\Lintaro";
constexpr RECT kStart{10, 20, 330, 260};

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "settings_load: %s\n", what);
  std::abort();
}

class NoUser : public HeadlessBackend {
 public:
  int MessageBox(CWnd&, const std::string&, const std::string&, UINT) override { return IDOK; }
  int RunFileDialog(CFileDialog&) override { return IDCANCEL; }

 protected:
  bool NextMessage(CDialog&, MSG&) override { return false; }
};

// The main window as the settings see it: a dialog with the program's menu bar.
class Window : public CDialog {
 public:
  Window() : CDialog(IDD_MAIN) {
    SetMenu(CMenu::Load(*FindMenuTemplate(IDR_MAINMENU), this));
    WINDOWPLACEMENT start;
    start.rcNormalPosition = kStart;
    SetWindowPlacement(&start);
  }
  bool Checked() const {
    return GetMenu()->GetMenuState(ID_OPTIONS_SAVE_SETTINGS, MF_BYCOMMAND) & MF_CHECKED;
  }
  WINDOWPLACEMENT Placement() const {
    WINDOWPLACEMENT placement;
    GetWindowPlacement(&placement);
    return placement;
  }
  SettingsSerializer Settings() { return SettingsSerializer(*this, ID_OPTIONS_SAVE_SETTINGS); }
};

struct Setup {
  NoUser backend;
  MemoryRegistryStore store;
  Setup() {
    RegisterResources(&ProgramResources());
    SetBackend(&backend);
    SetRegistryStore(&store);
  }
};

void Put(const char* name, DWORD type, const std::vector<BYTE>& bytes) {
  HKEY key = nullptr;
  Require(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, "", 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS,
          "create key");
  Require(RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())) ==
              ERROR_SUCCESS,
          "set value");
  RegCloseKey(key);
}

DWORD Word(const std::vector<BYTE>& bytes, size_t index) {
  size_t at = index * 4;
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<DWORD>(bytes[at + 3]) << 24;
}

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
    Put("Config", data[1], image);
  if (hasSize)
    Put("Config - SIZE", data[2], sizeBytes);

  // What the image applies: it is read only when the size value is a whole 32-bit count that the
  // image fits in; the check mark needs two words and the placement all thirteen.
  const bool read =
      hasImage && hasSize && sizeBytes.size() == 4 && image.size() <= Word(sizeBytes, 0);
  const bool current = read && image.size() >= 8 && Word(image, 0) == 110;
  const bool checks = current && (Word(image, 1) & MF_CHECKED);
  const bool places = current && image.size() >= 52;

  Window window;
  window.Settings().Load();
  Require(window.Checked() == checks, "check mark");
  WINDOWPLACEMENT placement = window.Placement();
  if (places) {
    const RECT stored{static_cast<LONG>(Word(image, 9)), static_cast<LONG>(Word(image, 10)),
                      static_cast<LONG>(Word(image, 11)), static_cast<LONG>(Word(image, 12))};
    Require(placement.rcNormalPosition == stored, "normal rectangle");
    Require(window.IsZoomed() == (Word(image, 4) == SW_SHOWMAXIMIZED), "maximized");
  } else {
    Require(placement.rcNormalPosition == kStart, "placement untouched");
  }

  // Saved and loaded again, the settings come back; a minimized window comes back normal.
  window.GetMenu()->CheckMenuItem(ID_OPTIONS_SAVE_SETTINGS, MF_CHECKED);
  Require(window.Settings().Save(), "save");
  Window again;
  again.Settings().Load();
  Require(again.Checked(), "saved check mark");
  Require(again.Placement().rcNormalPosition == placement.rcNormalPosition, "saved rectangle");
  Require(again.IsZoomed() == window.IsZoomed(), "saved maximized");
  Require(!again.IsIconic(), "saved minimized comes back normal");
  return 0;
}
