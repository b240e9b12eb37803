// The program's icon: whole squares at every theme size, cut clean from the
// glyph strip (no magenta key, no half-clear pixel, no colour the glyph
// lacks), doubled without losing flat areas, centred where no doubling fits.

#include <gtest/gtest.h>

#include <set>

#include "platform/resource/ProgramIcon.h"

namespace zel::sys {
namespace {

TEST(ProgramIcon, EverySizeIsTheGlyphsOwnColoursOnAClearGround) {
  const Surface base = ProgramIcon(32);
  ASSERT_EQ(base.Width(), 32);
  std::set<Pixel> glyphColours(base.Pixels().begin(), base.Pixels().end());
  struct Row {
    int size, margin; // clear rows and columns at every edge, at least
  } rows[] = {{16, 0}, {22, 3}, {24, 0}, {32, 0}, {48, 0}, {64, 0}, {128, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.size);
    const Surface icon = ProgramIcon(r.size);
    ASSERT_EQ(icon.Width(), r.size);
    ASSERT_EQ(icon.Height(), r.size);
    int opaque = 0;
    for (int y = 0; y < r.size; ++y)
      for (int x = 0; x < r.size; ++x) {
        const Pixel p = icon.At(x, y);
        ASSERT_TRUE(p == 0 || p >> 24 == 0xFF) << x << "," << y;
        ASSERT_NE(p & 0xFFFFFF, 0xFF00FFu) << x << "," << y;
        const bool edge =
            x < r.margin || y < r.margin || x >= r.size - r.margin || y >= r.size - r.margin;
        if (edge) {
          ASSERT_EQ(p, 0u) << x << "," << y;
        }
        if (r.size % 32 == 0 && p) { // drawn from the 32-pixel strip
          ASSERT_TRUE(glyphColours.count(p)) << x << "," << y;
        }
        opaque += p != 0;
      }
    EXPECT_GT(opaque, r.size * r.size / 3) << "the window fills most of the square";
    EXPECT_EQ(icon.At(0, 0), 0u) << "the corner is clear";
  }
  // A pixel whose four neighbours share its colour becomes four of it.
  const Surface doubled = ProgramIcon(64);
  for (int y = 1; y < 31; ++y)
    for (int x = 1; x < 31; ++x) {
      const Pixel p = base.At(x, y);
      if (base.At(x - 1, y) != p || base.At(x + 1, y) != p || base.At(x, y - 1) != p ||
          base.At(x, y + 1) != p)
        continue;
      ASSERT_EQ(doubled.At(2 * x, 2 * y), p);
      ASSERT_EQ(doubled.At(2 * x + 1, 2 * y + 1), p);
    }
  for (int size : {0, 15, 257})
    EXPECT_TRUE(ProgramIcon(size).Empty()) << size;
}

// The doubling turns a staircase into a diagonal and leaves a lone pixel
// square.
TEST(ProgramIcon, DoublingSmoothsDiagonalsOnly) {
  Surface stair(2, 2, 0);
  stair.At(0, 0) = stair.At(1, 0) = stair.At(0, 1) = 0xFF112233u;
  const Surface out = Scale2x(stair);
  EXPECT_EQ(out.At(2, 2), 0xFF112233u) << "the step's inner corner fills";
  EXPECT_EQ(out.At(3, 2), 0u);
  EXPECT_EQ(out.At(2, 3), 0u);
  EXPECT_EQ(out.At(3, 3), 0u);
  Surface dot(3, 3, 0);
  dot.At(1, 1) = 0xFF445566u;
  const Surface square = Scale2x(dot);
  for (int y = 2; y < 4; ++y)
    for (int x = 2; x < 4; ++x)
      EXPECT_EQ(square.At(x, y), 0xFF445566u);
  EXPECT_EQ(square.At(1, 2), 0u);
}

} // namespace
} // namespace zel::sys
