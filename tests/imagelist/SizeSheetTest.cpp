// The main window's glyphs as the list rebuilds them from the real strips at
// every glyph size the program offers.  Checked: no glyph loses ink against a
// plain area-weighted scaling of its strip cell, the strokes of the three
// alignment glyphs stay apart, and no pixel leans towards the strips' key
// colour.  A sheet of the sizes 10, 12, 14, 20 and 32 on a light and on a
// dark ground goes to pictures/imagelist_sizes.png (and magnified parts
// beside it) for a person to judge.  The exact pixels of every size are
// pinned by a hash, so that a faster scaler must give the very same glyphs.

#include "tests/imagelist/ImageListTestSupport.h"

#include "platform/gdi/Png.h"

namespace zel::test {
namespace {

constexpr int kSheetSizes[] = {10, 12, 14, 20, 32};
constexpr int kGap = 6;
constexpr int kAlignLeft = 20, kAlignRight = 22;

// Red and blue well above green, as magenta blended into a glyph edge would
// leave it.
bool Pinkish(TColor c) {
  const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return r > 200 && b > 200 && g < 120;
}

int Luma(TColor c) {
  return (c & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + ((c >> 16) & 0xFF);
}

// The coverage of every pixel in a plain area-weighted scaling of a strip
// cell (magenta is empty) to size x size.
std::vector<double> AreaCoverage(const sys::Surface& strip, int cell, int k, int size) {
  std::vector<double> cover(size_t(size * size), 0);
  const double r = double(cell) / size;
  auto overlap = [](double lo, double hi, int s) {
    return std::max(0.0, std::min(hi, s + 1.0) - std::max(lo, double(s)));
  };
  for (int sy = 0; sy < cell; ++sy)
    for (int sx = 0; sx < cell; ++sx) {
      if (TColor(sys::ColorRefFromPixel(strip.At(k * cell + sx, sy))) == kMagenta) continue;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          cover[size_t(y * size + x)] +=
              overlap(y * r, (y + 1) * r, sy) * overlap(x * r, (x + 1) * r, sx) / (r * r);
    }
  return cover;
}

// Two backgrounds that no glyph pixel has (a glyph pixel of the background
// colour would be taken for background).
constexpr TColor kLight = 0xE8F0F4, kDark = 0x180C10;

// How much of a pixel the glyph covers, from the same image composed on the
// light and on the dark background: the background shows through the rest.
double Coverage(sys::Pixel onLight, sys::Pixel onDark) {
  const sys::Pixel light = sys::PixelFromColorRef(kLight), dark = sys::PixelFromColorRef(kDark);
  double rest = 0;
  for (int shift = 0; shift < 24; shift += 8)
    rest += double(int((onLight >> shift) & 0xFF) - int((onDark >> shift) & 0xFF)) /
            double(int((light >> shift) & 0xFF) - int((dark >> shift) & 0xFF));
  return std::clamp(1 - rest / 3, 0.0, 1.0);
}

// The strokes a column of a strip cell shows: runs of non-key pixels.
int StrokesInSourceColumn(const sys::Surface& cells, int cell, int k, int x) {
  int strokes = 0;
  bool before = false;
  for (int y = 0; y < cell; ++y) {
    const bool ink = TColor(sys::ColorRefFromPixel(cells.At(k * cell + x, y))) != kMagenta;
    strokes += ink && !before ? 1 : 0;
    before = ink;
  }
  return strokes;
}

// The number of strokes a column of an alignment glyph shows: runs of
// pixels at least half as dark as the glyph's darkest, each parted from the
// next by a pixel less than a third as dark.
int StrokesInColumn(const TCustomImageList& list, int index, int x, int lightLuma) {
  const int size = list.Height();
  int darkest = lightLuma;
  for (int y = 0; y < size; ++y)
    for (int xx = 0; xx < size; ++xx)
      if (Drawn(list, index, xx, y)) darkest = std::min(darkest, Luma(ColorAt(list, index, xx, y)));
  auto ink = [&](int y) {
    if (!Drawn(list, index, x, y)) return 0.0;
    return double(lightLuma - Luma(ColorAt(list, index, x, y))) / (lightLuma - darkest);
  };
  int strokes = 0;
  bool inStroke = false, parted = true;
  for (int y = 0; y < size; ++y) {
    const double v = ink(y);
    if (v >= 0.5 && !inStroke && parted) {
      ++strokes;
      inStroke = true;
      parted = false;
    }
    if (v < 0.5) inStroke = false;
    if (v < 1.0 / 3) parted = true;
  }
  return strokes;
}

// The glyphs first .. first + count - 1 of every sheet size, one row per
// size, on a light ground and again below on a dark one.
sys::Surface DrawSheet(TImageListZel& list, int first, int count) {
  int width = 0, height = kGap;
  for (int size : kSheetSizes) {
    width = std::max(width, kGap + count * (size + kGap));
    height += size + kGap;
  }
  TBitmap sheet;
  sheet.SetPixelFormat(pf32bit);
  sheet.SetSize(width, height * 2);
  TCanvas* canvas = sheet.Canvas();
  canvas->Brush()->SetColor(TColor(0xF0F0F0));
  canvas->FillRect(sys::RECT{0, 0, width, height});
  canvas->Brush()->SetColor(TColor(0x383838));
  canvas->FillRect(sys::RECT{0, height, width, height * 2});
  int y = kGap;
  for (int size : kSheetSizes) {
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

TEST_F(SizeSheet, EverySizeKeepsInkAndStrokeGaps) {
  TImageListZel list(nullptr);
  SetUpMainList(list);
  for (int size = 10; size <= 32; ++size) {
    SCOPED_TRACE(size);
    list.BeginUpdate();
    list.SetSize(size, size);
    list.SetBkColor(kDark);
    list.EndUpdate();
    ASSERT_TRUE(list.RebuildImages());
    std::vector<sys::Surface> onDark;
    for (int k = 0; k < 36; ++k)
      onDark.push_back(*list.ImagePixels(k));
    list.BeginUpdate();
    list.SetBkColor(kLight);
    list.EndUpdate();
    ASSERT_TRUE(list.RebuildImages());
    ASSERT_EQ(list.Count(), 42);

    const int cell = list.ResourceNames()->Items(0)->Width();
    TBitmap strip;
    strip.LoadFromResourceName(nullptr, "STANDARTBTN_" + std::to_string(cell));
    const sys::Surface& cells = strip.Handle()->surface;
    for (int k = 0; k < 36; ++k) {
      const std::vector<double> cover = AreaCoverage(cells, cell, k, size);
      double reference = 0, ink = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          reference += cover[size_t(y * size + x)];
          if (!Drawn(list, k, x, y)) continue;
          ink += Coverage(list.ImagePixels(k)->At(x, y), onDark[size_t(k)].At(x, y));
          ASSERT_FALSE(Pinkish(ColorAt(list, k, x, y))) << k;
        }
      // Strokes put on whole pixels may come out a little thinner or
      // thicker; whole parts of a glyph may not go.
      EXPECT_GE(ink, reference * 0.7 - 2) << "image " << k;
    }
    for (int k = kAlignLeft; k <= kAlignRight; ++k) {
      int want = 0, most = 0;
      for (int x = 0; x < cell; ++x)
        want = std::max(want, StrokesInSourceColumn(cells, cell, k, x));
      for (int x = 0; x < size; ++x)
        most = std::max(most, StrokesInColumn(list, k, x, Luma(kLight)));
      EXPECT_EQ(most, want) << "the strokes of image " << k << " run together";
    }
  }

  list.SetBkColor(clNone); // drawn over each ground, not on a box of its own
  const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(sys::WritePng(DrawSheet(list, 0, 42), (dir / "imagelist_sizes.png").string()));
  for (int part = 0; part < 3; ++part) {
    const std::string name = "imagelist_sizes_x3_" + std::to_string(part + 1) + ".png";
    EXPECT_TRUE(sys::WritePng(Magnify(DrawSheet(list, part * 14, 14), 3), (dir / name).string()));
  }
  EXPECT_TRUE(sys::WritePng(Magnify(DrawSheet(list, kAlignLeft, 3), 8),
                            (dir / "imagelist_alignment_x8.png").string()));
}

// FNV-1a over the pixels and masks of all images of the list.
uint64_t ImagesHash(const TCustomImageList& list) {
  uint64_t h = 1469598103934665603ull;
  auto add = [&h](uint32_t v) {
    for (int i = 0; i < 4; ++i, v >>= 8)
      h = (h ^ (v & 0xFF)) * 1099511628211ull;
  };
  for (int k = 0; k < list.Count(); ++k) {
    for (sys::Pixel p : list.ImagePixels(k)->Pixels())
      add(p);
    for (uint8_t m : *list.ImageMask(k))
      add(m);
  }
  return h;
}

// The 42 glyphs at every size on a dark and on a light ground, as the
// scaler made them when its output was judged right by eye.
TEST_F(SizeSheet, EverySizeKeepsItsPinnedPixels) {
  constexpr uint64_t kPinned[][2] = {
      {0x8324ae88939edfaa, 0x93637a0192b9da50}, // 10
      {0xc54bef845194be8, 0x12c3b46af18cbf91},  // 11
      {0x9eb95ccd99c65275, 0x62570352b0f8889c}, // 12
      {0xb7afc85b30be0994, 0xfae55684787faa64}, // 13
      {0xe7bf80fc8c9836f0, 0x3ec9598cbe8a7772}, // 14
      {0x8d2f3e36e3496b4d, 0xa7831c2ef313de63}, // 15
      {0x5fa0392b4fbffd2d, 0xe25e7555d57f6758}, // 16
      {0x53d8ac3bd841a5b2, 0x9dbd953987f7b312}, // 17
      {0xed627aab25b432a8, 0xf19e0119460c4a5e}, // 18
      {0x1b2980800e7fc433, 0x80da99d7d237ca},   // 19
      {0x6cc494495c75bad0, 0xd223791a8f806c93}, // 20
      {0x50791ed89528b54c, 0xd562cdc049e3ba4f}, // 21
      {0x4753d20425e92626, 0x43c473a7238a80b5}, // 22
      {0x5ff16427ca514f6d, 0x85e1260260ef5012}, // 23
      {0x2a774ac01d48aa94, 0x2a774ac01d48aa94}, // 24
      {0x62c5e70377c913e, 0x16da5c5eee1d6d32},  // 25
      {0xf9c5d5bbaaad7ab, 0xc80fa6f053ea0cac},  // 26
      {0x5afbb946eca6ea71, 0x914b804f50e34b23}, // 27
      {0xeb70136e629898f6, 0xd52df63aa7cb6840}, // 28
      {0xfc857017e47b12fd, 0x615446a8889a4e9b}, // 29
      {0x63e47be3c5a8bad0, 0x7713a1d227e1d29b}, // 30
      {0x49ab226a75a87d96, 0xd7714aa8ecee05d8}, // 31
      {0x98e256f590137143, 0xa4037e7a2ee00b73}, // 32
  };
  TImageListZel list(nullptr);
  SetUpMainList(list);
  for (int size = 10; size <= 32; ++size) {
    const TColor grounds[] = {kDark, kLight};
    for (int g = 0; g < 2; ++g) {
      list.BeginUpdate();
      list.SetSize(size, size);
      list.SetBkColor(grounds[g]);
      list.EndUpdate();
      ASSERT_TRUE(list.RebuildImages());
      ASSERT_EQ(list.Count(), 42);
      EXPECT_EQ(ImagesHash(list), kPinned[size - 10][g])
          << "size " << size << " ground " << g << ": 0x" << std::hex << ImagesHash(list);
    }
  }
}

} // namespace
} // namespace zel::test
