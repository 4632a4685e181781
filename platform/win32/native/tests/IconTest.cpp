#include "platform/win32/native/NativeIcon.h"

#include <gtest/gtest.h>

#include "TestIconRows.h"
#include "TestSupport.h"

namespace native {
namespace {

IconPixels Rows(const char* const* rows, int size) {
  return IconPixels{size, std::vector<std::string>(rows, rows + size)};
}

// What the rows say each pixel is, from the top left.
std::vector<int32_t> Expected(const IconPixels& pixels) {
  std::vector<int32_t> out;
  for (const std::string& row : pixels.rows) {
    for (char c : row) {
      int index = c == '.' ? -1 : (c <= '9' ? c - '0' : c - 'A' + 10);
      out.push_back(index < 0 ? -1 : static_cast<int32_t>(kTestPalette[index]));
    }
  }
  return out;
}

TEST(NativeIconTest, BuiltAndResourceIconsShowTheRowsPixelForPixel) {
  const IconPixels images[] = {Rows(kTestIcon32, 32), Rows(kTestIcon16, 16)};
  for (const IconPixels& image : images) {
    SCOPED_TRACE(image.size);
    NativeIcon built;
    ASSERT_TRUE(built.Build(image, kTestPalette));
    EXPECT_EQ(IconPixelsOf(static_cast<HICON>(built.Get()), image.size), Expected(image));
    // The same rows went through the resource compiler into this program's icon.
    NativeIcon loaded;
    ASSERT_TRUE(loaded.Load(kTestIconId, image.size));
    EXPECT_EQ(IconPixelsOf(static_cast<HICON>(loaded.Get()), image.size), Expected(image));
  }
}

TEST(NativeIconTest, RefusesRowsThatDoNotMakeTheSquare) {
  IconPixels good = Rows(kTestIcon16, 16);
  IconPixels shortRow = good;
  shortRow.rows[5].pop_back();
  IconPixels missingRow = good;
  missingRow.rows.pop_back();
  IconPixels badPixel = good;
  badPixel.rows[3][7] = 'G';
  for (const IconPixels& bad : {shortRow, missingRow, badPixel}) {
    NativeIcon icon;
    EXPECT_FALSE(icon.Build(bad, kTestPalette));
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
