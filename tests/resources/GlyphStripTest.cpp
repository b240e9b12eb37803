// The committed glyph strips, read straight from resources/bitmaps/: their
// format, their cells, and that the three sizes of the main window's strip
// show the same glyph at the same index.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
constexpr Rgb kKey{255, 0, 255};

struct Strip {
  int width = 0, height = 0;
  std::vector<Rgb> pixels; // top row first
  const Rgb& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

std::uint32_t Read32(const std::vector<unsigned char>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
unsigned Read16(const std::vector<unsigned char>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8;
}

// Reads a 24-bit uncompressed bottom-up BMP, checking every header field the
// resource loader and the image list rely on.  Failures are recorded with
// the file's name and leave the strip empty.
Strip LoadStrip(const std::string& name) {
  Strip strip;
  const fs::path path = fs::path(ZEL_SOURCE_DIR) / "resources" / "bitmaps" / name;
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
  if (b.size() < 54) {
    ADD_FAILURE() << name << ": missing or shorter than its headers";
    return strip;
  }
  EXPECT_EQ(b[0], 'B') << name;
  EXPECT_EQ(b[1], 'M') << name;
  EXPECT_EQ(Read32(b, 2), b.size()) << name << ": file size field";
  const std::uint32_t offset = Read32(b, 10);
  EXPECT_EQ(Read32(b, 14), 40u) << name << ": info header size";
  const int width = int(Read32(b, 18)), height = int(Read32(b, 22));
  EXPECT_EQ(Read16(b, 26), 1u) << name << ": planes";
  EXPECT_EQ(Read16(b, 28), 24u) << name << ": bits per pixel";
  EXPECT_EQ(Read32(b, 30), 0u) << name << ": compression";
  if (width <= 0 || height <= 0) {
    ADD_FAILURE() << name << ": " << width << " x " << height << " (rows must run bottom-up)";
    return strip;
  }
  const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
  if (offset + stride * height > b.size()) {
    ADD_FAILURE() << name << ": pixel rows run past the end of the file";
    return strip;
  }
  strip.width = width;
  strip.height = height;
  strip.pixels.resize(std::size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    const std::size_t row = offset + stride * std::size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t p = row + std::size_t(x) * 3;
      strip.pixels[std::size_t(y) * width + x] = {b[p + 2], b[p + 1], b[p]};
    }
  }
  return strip;
}

struct StripFile {
  const char* name;
  int cell;
  int cells;
};

constexpr std::array<StripFile, 5> kStrips{{
    {"STANDARTBTN_16.bmp", 16, 36},
    {"STANDARTBTN_24.bmp", 24, 36},
    {"STANDARTBTN_32.bmp", 32, 36},
    {"MAINFORM_CUSTOM_24.bmp", 24, 6},
    {"COLORMAP_GLYPHS_16.bmp", 16, 6},
}};

void PrintTo(const StripFile& f, std::ostream* out) {
  *out << f.name;
}

class GlyphStrip : public testing::TestWithParam<StripFile> {};

TEST_P(GlyphStrip, IsOneRowOfSquareCells) {
  const StripFile& f = GetParam();
  const Strip s = LoadStrip(f.name);
  EXPECT_EQ(s.width, f.cell * f.cells) << f.name;
  EXPECT_EQ(s.height, f.cell) << f.name;
}

// Every cell holds a glyph that keeps off at least part of each cell edge, so
// neighbouring glyphs never run into each other.
TEST_P(GlyphStrip, EveryCellHoldsAGlyphInsideItsCell) {
  const StripFile& f = GetParam();
  const Strip s = LoadStrip(f.name);
  ASSERT_EQ(s.width, f.cell * f.cells);
  const int n = f.cell;
  for (int i = 0; i < f.cells; ++i) {
    auto key = [&](int x, int y) { return s.at(i * n + x, y) == kKey; };
    int glyph = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x)
        glyph += !key(x, y);
    EXPECT_GT(glyph, n * n / 10) << f.name << " cell " << i << " is (nearly) empty";
    bool top = false, bottom = false, left = false, right = false;
    for (int k = 0; k < n; ++k) {
      top |= key(k, 0);
      bottom |= key(k, n - 1);
      left |= key(0, k);
      right |= key(n - 1, k);
    }
    EXPECT_TRUE(top && bottom && left && right) << f.name << " cell " << i << " fills an edge";
  }
}

// The strips are masked by the key colour: a pixel that is almost but not
// quite magenta would show as a pink fringe around the glyph.
TEST_P(GlyphStrip, HasNoColoursBlendedWithTheKey) {
  const StripFile& f = GetParam();
  const Strip s = LoadStrip(f.name);
  int fringe = 0;
  for (const Rgb& p : s.pixels)
    if (!(p == kKey) && p.r > 180 && p.b > 180 && p.g < 120) ++fringe;
  EXPECT_EQ(fringe, 0) << f.name;
}

// Glyphs may share a motif (the zoom lenses and the search lens), but every
// two cells differ in more than a few stray pixels.
TEST_P(GlyphStrip, NoTwoCellsAreAlike) {
  const StripFile& f = GetParam();
  const Strip s = LoadStrip(f.name);
  ASSERT_EQ(s.width, f.cell * f.cells);
  const int n = f.cell;
  for (int a = 0; a < f.cells; ++a)
    for (int b = a + 1; b < f.cells; ++b) {
      int differ = 0;
      for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
          differ += !(s.at(a * n + x, y) == s.at(b * n + x, y));
      EXPECT_GT(differ, n / 4) << f.name << ": cells " << a << " and " << b << " look alike";
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, GlyphStrip, testing::ValuesIn(kStrips),
                         [](const testing::TestParamInfo<StripFile>& info) {
                           std::string name = info.param.name;
                           return name.substr(0, name.find('.'));
                         });

// The glyph of a cell, averaged down to a coarse grid of colours over a grey
// background, for comparing glyphs drawn at different sizes.
std::vector<double> Thumbnail(const Strip& s, int cell, int index, int grid) {
  std::vector<double> out(std::size_t(grid) * grid * 3, 0.0);
  const double scale = double(grid) / cell;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x) {
      Rgb p = s.at(index * cell + x, y);
      if (p == kKey) p = {200, 200, 200};
      const std::size_t at = (std::size_t(y * scale) * grid + std::size_t(x * scale)) * 3;
      out[at] += p.r, out[at + 1] += p.g, out[at + 2] += p.b;
    }
  for (double& v : out)
    v /= double(cell * cell) / (grid * grid);
  return out;
}

double Distance(const std::vector<double>& a, const std::vector<double>& b) {
  double d = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    d += (a[i] - b[i]) * (a[i] - b[i]);
  return d;
}

// Each size is drawn on its own, so a glyph added to one strip out of order
// would shift every later image of that size.  Compared on a coarse grid, the
// 24 and 32 pixel glyph at an index must look most like the 16 pixel glyph of
// the same index.  A few plain glyphs (the lines of the alignment set, the
// two zoom lenses) are too alike at that grain to tell apart, so a handful of
// misses is allowed; a shifted or shuffled strip misses nearly everywhere.
TEST(GlyphStripSizes, ShowTheSameGlyphAtEveryIndex) {
  constexpr int kGrid = 8;
  const Strip s16 = LoadStrip("STANDARTBTN_16.bmp");
  ASSERT_EQ(s16.width, 16 * 36);
  std::vector<std::vector<double>> small;
  for (int i = 0; i < 36; ++i)
    small.push_back(Thumbnail(s16, 16, i, kGrid));
  for (int size : {24, 32}) {
    const Strip big = LoadStrip("STANDARTBTN_" + std::to_string(size) + ".bmp");
    ASSERT_EQ(big.width, size * 36);
    int hits = 0;
    std::string misses;
    for (int i = 0; i < 36; ++i) {
      const std::vector<double> t = Thumbnail(big, size, i, kGrid);
      int nearest = 0;
      for (int j = 1; j < 36; ++j)
        if (Distance(t, small[j]) < Distance(t, small[nearest])) nearest = j;
      if (nearest == i)
        ++hits;
      else
        misses += " " + std::to_string(i) + "~" + std::to_string(nearest);
    }
    EXPECT_GE(hits, 30) << "at " << size << " pixels these glyphs look most like another index "
                        << "at 16:" << misses;
  }
}

} // namespace
