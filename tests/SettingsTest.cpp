// What a stored settings image of any shape applies to the main window, and a save that the
// registry refuses. The saved image itself, its show states and its key going when saving is off
// are whole flows, in tests/scripts/settings_restart.case; a size value that claims far more than
// the image is in the settings_load fuzz target's seeds.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "ScratchRegistry.h"
#include "SettingsWindow.h"

namespace {

constexpr const char* kKey = "Software\\Lintaro";

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

TEST(Settings, ALoadAppliesOnlyAnImageOfTheRightShape) {
  struct Value {
    DWORD type;
    Bytes data;
  };
  const Value size52{REG_DWORD, Words({52})};
  struct {
    const char* what;
    std::optional<Value> config;
    std::optional<Value> size;
    bool checked;
    bool placed;
  } const cases[] = {
      {"a whole image", Value{REG_BINARY, Words(kImage)}, size52, true, true},
      {"version 111", Value{REG_BINARY, Words(With(0, 111))}, size52, false, false},
      {"the 8-byte image", Value{REG_BINARY, Words({110, 8})}, Value{REG_DWORD, Words({8})}, true,
       false},
      {"the types are not looked at", Value{REG_SZ, Words(kImage)}, Value{REG_BINARY, Words({52})},
       true, true},
      {"size 20: the image does not fit", Value{REG_BINARY, Words(kImage)},
       Value{REG_DWORD, Words({20})}, false, false},
      {"size 100: the 52 bytes are read", Value{REG_BINARY, Words(kImage)},
       Value{REG_DWORD, Words({100})}, true, true},
      {"the check bit clear", Value{REG_BINARY, Words(With(1, 0))}, size52, false, true},
      {"a size of 2 bytes", Value{REG_BINARY, Words(kImage)}, Value{REG_DWORD, Bytes{52, 0}}, false,
       false},
      {"a size of 5 bytes", Value{REG_BINARY, Words(kImage)},
       Value{REG_DWORD, Bytes{52, 0, 0, 0, 0}}, false, false},
      {"data shorter than its size: the image ends early",
       Value{REG_BINARY, Words({110, 8, 44, 0, 3})}, size52, true, false},
      {"size 0 and no data", Value{REG_BINARY, {}}, Value{REG_DWORD, Words({0})}, false, false},
      {"no size value", Value{REG_BINARY, Words(kImage)}, std::nullopt, false, false},
      {"no image value", std::nullopt, size52, false, false},
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
    EXPECT_EQ(window.Placement().rcNormalPosition, c.placed ? kImageRect : SettingsWindow::kStart);
    EXPECT_EQ(window.IsZoomed() != FALSE, c.placed);
  }
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
