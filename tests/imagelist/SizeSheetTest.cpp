// A sheet of the main window's 42 glyphs as the list rebuilds them at every
// glyph size the program offers, on a light and on a dark ground, written to
// pictures/imagelist_sizes.png (and in three magnified parts beside it) for
// a person to judge.  The test itself checks what a machine can: every glyph
// is drawn, and no drawn pixel leans towards the strips' key colour.

#include "tests/imagelist/ImageListTestSupport.h"

#include "platform/gdi/Png.h"

namespace zel::test {
namespace {

constexpr int kSizes[] = {10, 16, 20, 24, 28, 32};
constexpr int kGap = 6;

// Red and blue well above green, as magenta blended into a glyph edge would
// leave it.
bool Pinkish(TColor c) {
  const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return r > 200 && b > 200 && g < 120;
}

// The glyphs first .. first + count - 1 of every size, one row per size, on
// a light ground and again below on a dark one.
sys::Surface DrawSheet(TImageListZel& list, int first, int count) {
  int width = 0, height = kGap;
  for (int size : kSizes) {
    width = std::max(width, kGap + count * (size + kGap));
    height += size + kGap;
  }
  TBitmap sheet;
  sheet.SetPixelFormat(pf32bit);
  sheet.SetSize(width, height * 2);
  TCanvas* canvas = sheet.Canvas();
  canvas->Brush()->SetColor(TColor(0xE8E8E8));
  canvas->FillRect(sys::RECT{0, 0, width, height});
  canvas->Brush()->SetColor(TColor(0x383838));
  canvas->FillRect(sys::RECT{0, height, width, height * 2});
  int y = kGap;
  for (int size : kSizes) {
    list.BeginUpdate();
    list.SetSize(size, size);
    list.EndUpdate();
    list.RebuildImages();
    for (int k = 0; k < count; ++k) {
      const int x = kGap + k * (size + kGap);
      list.Draw(canvas, x, y, first + k);
      list.Draw(canvas, x, y + height, first + k);
    }
    y += size + kGap;
  }
  return sheet.Handle()->surface;
}

sys::Surface Magnify(const sys::Surface& pixels, int times) {
  sys::Surface big(pixels.Width() * times, pixels.Height() * times);
  for (int y = 0; y < big.Height(); ++y)
    for (int x = 0; x < big.Width(); ++x)
      big.At(x, y) = pixels.At(x / times, y / times);
  return big;
}

class SizeSheet : public ImageListTest {};

TEST_F(SizeSheet, AllGlyphsAtEverySize) {
  TImageListZel list(nullptr);
  SetUpMainList(list);
  for (int size : kSizes) {
    list.BeginUpdate();
    list.SetSize(size, size);
    list.EndUpdate();
    ASSERT_TRUE(list.RebuildImages());
    ASSERT_EQ(list.Count(), 42);
    for (int k = 0; k < 42; ++k) {
      EXPECT_GT(DrawnCount(list, k), 0) << size << " image " << k;
      for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
          if (Drawn(list, k, px, py)) {
            ASSERT_FALSE(Pinkish(ColorAt(list, k, px, py)))
                << size << " image " << k << " at " << px << "," << py;
          }
        }
      }
    }
  }

  const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(sys::WritePng(DrawSheet(list, 0, 42), (dir / "imagelist_sizes.png").string()));
  for (int part = 0; part < 3; ++part) {
    const std::string name = "imagelist_sizes_x3_" + std::to_string(part + 1) + ".png";
    EXPECT_TRUE(sys::WritePng(Magnify(DrawSheet(list, part * 14, 14), 3), (dir / name).string()));
  }
}

} // namespace
} // namespace zel::test
