#include "platform/win32/native/NativeIcon.h"

#include <gtest/gtest.h>

#include "TestIconRows.h"
#include "TestSupport.h"

namespace native {
namespace {

// What the pixels say each one is, from the top left: its colour, or -1 where transparent.
std::vector<int32_t> Expected(const IconPixels& pixels) {
  std::vector<int32_t> out;
  for (size_t at = 0; at < pixels.rgba.size(); at += 4) {
    const uint8_t* p = &pixels.rgba[at];
    out.push_back(p[3] == 0 ? -1 : p[0] << 16 | p[1] << 8 | p[2]);
  }
  return out;
}

TEST(NativeIconTest, BuiltAndResourceIconsShowThePixels) {
  for (int size : {32, 16}) {
    SCOPED_TRACE(size);
    IconPixels image = TestIconPixels(size);
    NativeIcon built;
    ASSERT_TRUE(built.Build(image));
    EXPECT_EQ(IconPixelsOf(static_cast<HICON>(built.Get()), size), Expected(image));
    // The same rows went through the resource compiler into this program's icon.
    NativeIcon loaded;
    ASSERT_TRUE(loaded.Load(kTestIconId, size));
    EXPECT_EQ(IconPixelsOf(static_cast<HICON>(loaded.Get()), size), Expected(image));
  }
}

TEST(NativeIconTest, RefusesPixelsThatDoNotMakeTheSquare) {
  IconPixels shortRow = TestIconPixels(16);
  shortRow.rgba.resize(shortRow.rgba.size() - 4);
  IconPixels noSize = TestIconPixels(16);
  noSize.size = 0;
  for (const IconPixels& bad : {shortRow, noSize}) {
    NativeIcon icon;
    EXPECT_FALSE(icon.Build(bad));
    EXPECT_EQ(icon.Get(), nullptr);
  }
}

TEST(NativeIconTest, ProgramFileCarriesVersionInformation) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
  char* product = nullptr;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductName",
                             reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, "Lintaro");
}

}  // namespace
}  // namespace native
