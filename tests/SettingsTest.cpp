// The main window's settings in the registry: the exact image that is saved, the show states that
// come back, the key that goes when saving is off, and what a stored image of any shape applies.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocation hooks (its allocator_interface.h, which not every compiler
// installs).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

#include "ScratchRegistry.h"
#include "app/Resource.h"
#include "platform/Dialog.h"
#include "platform/Registry.h"
#include "platform/headless/HeadlessBackend.h"
#include "settings/SettingsSerializer.h"

namespace {

constexpr const char* kKey = "Software\\Lintaro";

class QuietBackend : public HeadlessBackend {
 public:
  QuietBackend() { SetBackend(this); }
  ~QuietBackend() override { SetBackend(nullptr); }
  int MessageBox(CWnd&, const std::string&, const std::string&, UINT) override { return IDOK; }
  int RunFileDialog(CFileDialog&) override { return IDCANCEL; }

 protected:
  bool NextMessage(CDialog&, MSG&) override { return false; }
};

// The main window as the settings see it: a dialog with the program's menu bar.
class SettingsWindow : public CDialog {
 public:
  static constexpr RECT kStart{10, 10, 210, 110};

  SettingsWindow() : CDialog(IDD_MAIN) {
    SetMenu(CMenu::Load(*FindMenuTemplate(IDR_MAINMENU), this));
    Place(SW_SHOWNORMAL, kStart);
  }
  void Place(UINT show, RECT normal) {
    WINDOWPLACEMENT placement;
    placement.showCmd = show;
    placement.rcNormalPosition = normal;
    SetWindowPlacement(&placement);
  }
  RECT Normal() const {
    WINDOWPLACEMENT placement;
    GetWindowPlacement(&placement);
    return placement.rcNormalPosition;
  }
  void CheckSave(bool on) {
    GetMenu()->CheckMenuItem(ID_OPTIONS_SAVE_SETTINGS, on ? MF_CHECKED : MF_UNCHECKED);
  }
  bool SaveChecked() const {
    return GetMenu()->GetMenuState(ID_OPTIONS_SAVE_SETTINGS, MF_BYCOMMAND) & MF_CHECKED;
  }
  SettingsSerializer Settings() { return SettingsSerializer(*this, ID_OPTIONS_SAVE_SETTINGS); }
};

Bytes Words(const std::vector<LONG>& words) {
  Bytes bytes;
  for (LONG word : words) {
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<BYTE>(static_cast<DWORD>(word) >> (8 * i)));
  }
  return bytes;
}

// A maximized window at (20, 30, 620, 530), saved with the item checked.
const std::vector<LONG> kImage = {110, 8, 44, 0, 3, -1, -1, -1, -1, 20, 30, 620, 530};
constexpr RECT kImageRect{20, 30, 620, 530};

std::vector<LONG> With(size_t index, LONG word) {
  std::vector<LONG> words = kImage;
  words[index] = word;
  return words;
}

TEST(Settings, ANormalWindowWithTheItemCheckedIsSavedAsThisImage) {
  ScratchRegistry registry;
  QuietBackend backend;
  SettingsWindow window;
  window.Place(SW_SHOWNORMAL, RECT{100, 100, 500, 400});
  window.CheckSave(true);
  EXPECT_TRUE(window.Settings().Save());

  const Bytes expected = {0x6E, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
                          0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF,
                          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                          0xFF, 0xFF, 0xFF, 0x64, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00,
                          0xF4, 0x01, 0x00, 0x00, 0x90, 0x01, 0x00, 0x00};
  std::optional<RegistryValue> config = GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config");
  std::optional<RegistryValue> size = GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config - SIZE");
  ASSERT_TRUE(config && size);
  EXPECT_EQ(config->type, REG_BINARY);
  EXPECT_EQ(config->data, expected);
  EXPECT_EQ(size->type, REG_DWORD);
  EXPECT_EQ(size->data, (Bytes{0x34, 0, 0, 0}));
  RegistryListing listing;
  ASSERT_EQ(RegListKey(HKEY_CURRENT_USER, kKey, &listing), ERROR_SUCCESS);
  EXPECT_EQ(listing.values.size(), 2u);
  EXPECT_TRUE(listing.subkeys.empty());
}

TEST(Settings, AMaximizedWindowComesBackMaximizedAndAMinimizedOneNormal) {
  struct {
    const char* what;
    UINT show;
    BYTE stored;
    bool zoomed;
  } const cases[] = {
      {"normal", SW_SHOWNORMAL, 1, false},
      {"minimized", SW_SHOWMINIMIZED, 1, false},
      {"maximized", SW_SHOWMAXIMIZED, 3, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchRegistry registry;
    QuietBackend backend;
    {
      SettingsWindow window;
      window.Place(c.show, kImageRect);
      window.CheckSave(true);
      ASSERT_TRUE(window.Settings().Save());
    }
    std::optional<RegistryValue> config = GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config");
    ASSERT_TRUE(config);
    EXPECT_EQ(config->data.at(16), c.stored);

    SettingsWindow next;
    next.Settings().Load();
    EXPECT_TRUE(next.SaveChecked());
    EXPECT_EQ(next.IsZoomed() != FALSE, c.zoomed);
    EXPECT_FALSE(next.IsIconic());
    EXPECT_EQ(next.Normal(), kImageRect);
  }
}

TEST(Settings, WithTheItemUncheckedSavingDeletesTheKey) {
  ScratchRegistry registry;
  QuietBackend backend;
  SettingsWindow window;
  // Nothing stored: nothing to delete, and nothing is created.
  EXPECT_TRUE(window.Settings().Save());
  RegistryListing top;
  ASSERT_EQ(RegListKey(HKEY_CURRENT_USER, "", &top), ERROR_SUCCESS);
  EXPECT_TRUE(top.subkeys.empty() && top.values.empty());

  window.CheckSave(true);
  ASSERT_TRUE(window.Settings().Save());
  window.CheckSave(false);
  EXPECT_TRUE(window.Settings().Save());
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST(Settings, ALoadAppliesOnlyAnImageOfTheRightShape) {
  struct Value {
    DWORD type;
    Bytes data;
  };
  struct {
    const char* what;
    std::optional<Value> config;
    std::optional<Value> size;
    bool checked;
    bool placed;
  } const cases[] = {
      {"a whole image", Value{REG_BINARY, Words(kImage)}, Value{REG_DWORD, Words({52})}, true,
       true},
      {"version 111", Value{REG_BINARY, Words(With(0, 111))}, Value{REG_DWORD, Words({52})}, false,
       false},
      {"the 8-byte image", Value{REG_BINARY, Words({110, 8})}, Value{REG_DWORD, Words({8})}, true,
       false},
      {"an image stored as REG_SZ", Value{REG_SZ, Words(kImage)}, Value{REG_DWORD, Words({52})},
       true, true},
      {"a size stored as REG_BINARY", Value{REG_BINARY, Words(kImage)},
       Value{REG_BINARY, Words({52})}, true, true},
      {"size 20: the image does not fit", Value{REG_BINARY, Words(kImage)},
       Value{REG_DWORD, Words({20})}, false, false},
      {"size 100: the 52 bytes are read", Value{REG_BINARY, Words(kImage)},
       Value{REG_DWORD, Words({100})}, true, true},
      {"the check bit clear", Value{REG_BINARY, Words(With(1, 0))}, Value{REG_DWORD, Words({52})},
       false, true},
      {"a size of 2 bytes", Value{REG_BINARY, Words(kImage)}, Value{REG_DWORD, Bytes{52, 0}}, false,
       false},
      {"a size of 5 bytes", Value{REG_BINARY, Words(kImage)},
       Value{REG_DWORD, Bytes{52, 0, 0, 0, 0}}, false, false},
      {"data shorter than its size: the image ends early",
       Value{REG_BINARY, Words({110, 8, 44, 0, 3})}, Value{REG_DWORD, Words({52})}, true, false},
      {"size 0 and no data", Value{REG_BINARY, {}}, Value{REG_DWORD, Words({0})}, false, false},
      {"no size value", Value{REG_BINARY, Words(kImage)}, std::nullopt, false, false},
      {"no image value", std::nullopt, Value{REG_DWORD, Words({52})}, false, false},
      {"no key", std::nullopt, std::nullopt, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchRegistry registry;
    QuietBackend backend;
    if (c.config)
      SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", c.config->type, c.config->data);
    if (c.size)
      SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config - SIZE", c.size->type, c.size->data);
    SettingsWindow window;
    window.Settings().Load();
    EXPECT_EQ(window.SaveChecked(), c.checked);
    EXPECT_EQ(window.Normal(), c.placed ? kImageRect : SettingsWindow::kStart);
    EXPECT_EQ(window.IsZoomed() != FALSE, c.placed);
  }
}

// An edited or damaged image may place the window anywhere at all, even with its edges at the ends
// of the coordinates: it is applied as stored, and the window's sizes stay sound.
TEST(Settings, AnImageAtTheEndsOfTheCoordinatesLoads) {
  const LONG low = std::numeric_limits<LONG>::min();
  const LONG high = std::numeric_limits<LONG>::max();
  const struct {
    const char* what;
    RECT normal;
  } cases[] = {
      {"widest", RECT{low, low, high, high}},
      {"turned inside out", RECT{high, high, low, low}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchRegistry registry;
    QuietBackend backend;
    const std::vector<LONG> image = {110,
                                     8,
                                     44,
                                     0,
                                     1,
                                     -1,
                                     -1,
                                     -1,
                                     -1,
                                     c.normal.left,
                                     c.normal.top,
                                     c.normal.right,
                                     c.normal.bottom};
    SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, Words(image));
    SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config - SIZE", REG_DWORD, Words({52}));
    SettingsWindow window;
    window.Settings().Load();
    EXPECT_EQ(window.Normal(), c.normal);
    RECT client;
    window.GetClientRect(&client);
    EXPECT_GE(client.Width(), 0);
    EXPECT_GE(client.Height(), 0);
  }
}

#if defined(__SANITIZE_ADDRESS__)
// The largest single allocation made while `watching` is set.
std::atomic<bool> watching{false};
std::atomic<size_t> largest{0};
void OnMalloc(const volatile void*, size_t size) {
  if (watching)
    largest = std::max<size_t>(largest, size);
}
void OnFree(const volatile void*) {}
#endif

// A damaged size value may claim 4 GiB for a 52-byte image: the load reads the image and takes no
// more memory than the image needs.
TEST(Settings, AHugeSizeValueTakesNoMoreMemoryThanTheImage) {
#if !defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "needs the sanitizer's allocation hooks";
#else
  static const bool hooked = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
  ASSERT_TRUE(hooked);
  ScratchRegistry registry;
  QuietBackend backend;
  SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, Words(kImage));
  SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config - SIZE", REG_DWORD, Words({-1}));
  SettingsWindow window;
  largest = 0;
  watching = true;
  window.Settings().Load();
  watching = false;
  EXPECT_TRUE(window.SaveChecked());
  EXPECT_EQ(window.Normal(), kImageRect);
  EXPECT_LT(largest, size_t{1} << 20);
#endif
}

TEST(Settings, ALoadedImageWithTheCheckBitClearMakesTheNextSaveDeleteTheKey) {
  ScratchRegistry registry;
  QuietBackend backend;
  SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, Words(With(1, 0)));
  SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config - SIZE", REG_DWORD, Words({52}));
  SettingsWindow window;
  window.Settings().Load();
  EXPECT_TRUE(window.Settings().Save());
  EXPECT_FALSE(GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config"));
}

TEST(Settings, ARegistryThatCannotBeWrittenMakesSavingFail) {
#if defined(_WIN32)
  GTEST_SKIP() << "a registry that cannot be written is made of a file where its folder would go, "
                  "which only the file store has";
#else
  ScratchRegistry registry("blocked/config");
  registry.Dir().Write("blocked", "a file where the folder would go");
  QuietBackend backend;
  SettingsWindow window;
  window.CheckSave(true);
  EXPECT_FALSE(window.Settings().Save());
#endif
}

}  // namespace
