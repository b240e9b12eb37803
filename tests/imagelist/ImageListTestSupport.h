#pragma once
// Shared set-up of the image-list tests: a clean window system on the
// virtual clock, synthetic strips, module files written for the test, and
// probes of a list's image pixels.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "imagelist/ImageListZel.h"
#include "platform/clock/Clock.h"
#include "platform/resource/ModuleFile.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/WindowSystem.h"

namespace zel::test {

constexpr TColor kMagenta = 0xFF00FF;

class ImageListTest : public ::testing::Test {
protected:
  // In the constructor and destructor rather than SetUp and TearDown, so
  // that the lists of a fixture are made after the window system's reset
  // and are gone before the next one: their timers stay theirs.
  ImageListTest() {
    sys::ResetWindowSystem();
    InitializeImageListZel();
  }
  ~ImageListTest() override {
    FinalizeImageListZel();
    sys::ResetWindowSystem();
  }

  // A folder of this build for files the tests write.
  static std::filesystem::path WorkDir() {
    auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "imagelist-tests";
    std::filesystem::create_directories(dir);
    return dir;
  }

  sys::ScopedVirtualClock clock{1000};
};

// The colour of a pixel as RGB (0x00BBGGRR) and whether it is drawn.
inline bool Drawn(const TCustomImageList& list, int index, int x, int y) {
  const std::vector<uint8_t>* mask = list.ImageMask(index);
  return mask && (*mask)[size_t(y) * size_t(list.Width()) + size_t(x)] != 0;
}
inline TColor ColorAt(const TCustomImageList& list, int index, int x, int y) {
  const sys::Surface* pixels = list.ImagePixels(index);
  return TColor(sys::ColorRefFromPixel(pixels->At(x, y)));
}
// The drawn pixels of an image, as a count.
inline int DrawnCount(const TCustomImageList& list, int index) {
  int n = 0;
  for (int y = 0; y < list.Height(); ++y)
    for (int x = 0; x < list.Width(); ++x)
      n += Drawn(list, index, x, y) ? 1 : 0;
  return n;
}

// A 24-bit bitmap of count cells of cell x cell, each filled with the key and
// holding a square of its own colour inset by inset pixels.
inline void MakeStrip(TBitmap& strip, int cell, int count, int inset,
                      std::vector<TColor>* colors = nullptr) {
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(cell * count, cell);
  sys::Surface& s = strip.Handle()->surface;
  // Colours differ across strips too, as long as they share the list.
  const int seed = colors ? int(colors->size()) : 0;
  for (int k = 0; k < count; ++k) {
    const TColor c = TColor(0x102030 + 0x0A0B0C * (k + seed)) & 0xFFFFFF;
    if (colors) colors->push_back(c);
    for (int y = 0; y < cell; ++y)
      for (int x = 0; x < cell; ++x) {
        const bool inside = x >= inset && y >= inset && x < cell - inset && y < cell - inset;
        s.At(k * cell + x, y) = sys::PixelFromColorRef(inside ? sys::COLORREF(c) : 0xFF00FF);
      }
  }
}

// Writes a resource module file holding the given bitmaps under the names.
inline std::string WriteModule(const std::string& file,
                               const std::vector<std::pair<std::string, TBitmap*>>& bitmaps) {
  std::vector<sys::resfile::Item> items;
  for (const auto& [name, bitmap] : bitmaps)
    items.push_back({sys::RT_BITMAP, name, EncodeBmp(bitmap->Handle()->surface, 24)});
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(sys::resfile::BuildModule(items, bytes, error)) << error;
  const std::string path = (std::filesystem::path(ZEL_BINARY_DIR) / "imagelist-tests" / file);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

// The main window's list: 24 x 24, the STANDARTBTN family with 36 glyphs
// and CustomImg holding the six images of MAINFORM_CUSTOM_24.
inline void SetUpMainList(TImageListZel& list) {
  list.BeginUpdate();
  list.SetSize(24, 24);
  TResourceName* item = list.ResourceNames()->Add();
  item->SetName("STANDARTBTN");
  item->SetGliphCount(36);
  TBitmap custom;
  custom.LoadFromResourceName(nullptr, "MAINFORM_CUSTOM_24");
  list.CustomImg()->SetSize(24, 24);
  list.CustomImg()->AddMasked(&custom, kMagenta);
  list.EndUpdate();
}

} // namespace zel::test
