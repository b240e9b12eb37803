// Blending against a plain per-pixel reference written straight from the
// rules, over many seeded random inputs, plus the documented corner values.

#include <random>

#include "bitop/BitOpScratch.h"
#include "bitop/BlendKernels.h"
#include "tests/bitop/BitOpTestUtil.h"

namespace zel::test {
namespace {

// The rules, one pixel at a time, with nothing shared with the library.
void ReferencePixel(uint8_t* d, const uint8_t* s, int opacity, TBlendMode mode) {
  const int sa = (s[3] * opacity + 254) >> 8;
  const int w = 255 - sa;
  uint8_t blended[3];
  for (int c = 0; c < 3; ++c) {
    const int v = ((s[c] * sa + 254) >> 8) + ((d[c] * w + 254) >> 8);
    blended[c] = uint8_t(v > 255 ? 255 : v);
  }
  if (mode == blendOpaque) {
    d[0] = blended[0], d[1] = blended[1], d[2] = blended[2], d[3] = 255;
  } else if ((mode == blendOver && d[3] == 0) || (mode == blendReplace && s[3] != 0)) {
    d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = uint8_t(sa);
  } else {
    d[0] = blended[0], d[1] = blended[1], d[2] = blended[2];
  }
}

void ReferenceRect(const TBuffer& src0, TBuffer& dst, int X, int Y, TBlendMode mode, int opacity) {
  auto& src = const_cast<TBuffer&>(src0);
  if (opacity == 0) return;
  for (int y = 0; y < src.H; ++y)
    for (int x = 0; x < src.W; ++x) {
      const int dx = X + x, dy = Y + y;
      if (dx < 0 || dy < 0 || dx >= dst.W || dy >= dst.H) continue;
      ReferencePixel(dst.At(dx, dy), src.At(x, y), opacity, mode);
    }
}

// Random bytes with the interesting alphas (0 and 255) made common: pixel
// by pixel, or in runs of up to 40 pixels as faces have them.
std::vector<uint8_t> RandomPixels(std::mt19937& rng, int n, bool runs = false) {
  std::vector<uint8_t> v(size_t(n) * 4);
  for (auto& b : v)
    b = uint8_t(rng());
  int left = 0, alpha = -1;
  for (int i = 0; i < n; ++i) {
    if (left-- <= 0) {
      const unsigned pick = rng() % 4;
      alpha = pick == 0 ? 0 : pick == 1 ? 255 : -1;
      left = runs ? int(rng() % 40) : 0;
    }
    if (alpha >= 0) v[size_t(i) * 4 + 3] = uint8_t(alpha);
  }
  return v;
}

// Every path the processor has must give the reference's bytes.
TEST(BlendLine, MatchesPlainReferenceOnRandomLinesOnEveryPath) {
  for (int p = 0; p <= int(bitop::BestBlendPath()); ++p) {
    const auto path = bitop::UseBlendPath(bitop::TBlendPath(p));
    std::mt19937 rng(20261208);
    for (int round = 0; round < 3000; ++round) {
      const bool runs = round % 2 == 1;
      const int n = int(rng() % (runs ? 100 : 37));
      const auto mode = TBlendMode(rng() % 3);
      const uint8_t opacity = round % 5 == 0 || round % 5 == 1 ? 255 : uint8_t(rng());
      const auto src = RandomPixels(rng, n, runs);
      auto dst = RandomPixels(rng, n);
      auto expected = dst;
      for (int i = 0; i < n; ++i)
        ReferencePixel(&expected[size_t(i) * 4], &src[size_t(i) * 4], opacity, mode);
      BlendLine(dst.data(), src.data(), opacity, n, mode);
      ASSERT_EQ(dst, expected) << bitop::BlendPathName(path) << " round " << round << " n " << n
                               << " mode " << int(mode) << " opacity " << int(opacity);
    }
  }
  bitop::UseBlendPath(bitop::BestBlendPath());
}

TEST(BlendLine, DocumentedValues) {
  const uint8_t white[4] = {255, 255, 255, 255};
  for (TBlendMode mode : {blendOver, blendOpaque}) {
    uint8_t black[4] = {0, 0, 0, 255};
    BlendLine(black, white, 255, 1, mode);
    EXPECT_EQ(black[0], 254);
    EXPECT_EQ(black[2], 254);
    EXPECT_EQ(black[3], 255);
  }
  uint8_t black[4] = {0, 0, 0, 255};
  BlendLine(black, white, 255, 1, blendReplace);
  EXPECT_EQ(black[0], 255);
  EXPECT_EQ(black[3], 254);

  // Onto a transparent pixel the source comes through unchanged, alpha scaled.
  const uint8_t src[4] = {10, 20, 30, 200};
  uint8_t empty[4] = {99, 99, 99, 0};
  BlendLine(empty, src, 128, 1, blendOver);
  EXPECT_EQ(empty[0], 10);
  EXPECT_EQ(empty[1], 20);
  EXPECT_EQ(empty[2], 30);
  EXPECT_EQ(empty[3], (200 * 128 + 254) >> 8);

  // Under a transparent source, replace keeps alpha and takes 255 to 254.
  const uint8_t clear[4] = {1, 2, 3, 0};
  uint8_t full[4] = {255, 100, 0, 77};
  BlendLine(full, clear, 255, 1, blendReplace);
  EXPECT_EQ(full[0], 254);
  EXPECT_EQ(full[1], 100);
  EXPECT_EQ(full[2], 0);
  EXPECT_EQ(full[3], 77);

  // Nothing for a count of 0 or less.
  uint8_t keep[4] = {1, 2, 3, 4};
  BlendLine(keep, white, 255, 0, blendOpaque);
  BlendLine(keep, white, 255, -5, blendOpaque);
  EXPECT_EQ(keep[0], 1);
}

class BlendRectTest : public BitOpTest {};

TEST_F(BlendRectTest, MatchesReferenceAtRandomOffsetsAndSizes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 400; ++round) {
    TBuffer src(1 + int(rng() % 13), 1 + int(rng() % 11));
    TBuffer dst(1 + int(rng() % 13), 1 + int(rng() % 11));
    src.Bytes = RandomPixels(rng, src.W * src.H);
    dst.Bytes = RandomPixels(rng, dst.W * dst.H);
    const int X = int(rng() % 31) - 15, Y = int(rng() % 27) - 13;
    const auto mode = TBlendMode(rng() % 3);
    const uint8_t opacity = round % 7 == 0 ? 0 : uint8_t(rng());
    TBuffer expected = dst;
    if (round % 4 == 3) {
      // A buffer blended onto itself a few rows off: its rows are taken in
      // the picture's order, each reading rows that may already be blended.
      ReferenceRect(expected, expected, 0, Y, mode, opacity);
      BlendRect(dst.Data(), dst.Data(), dst.Header, dst.Header, 0, Y, mode, opacity);
      ASSERT_EQ(dst.Bytes, expected.Bytes) << "round " << round;
      continue;
    }
    ReferenceRect(src, expected, X, Y, mode, opacity);
    BlendRect(src.Data(), dst.Data(), src.Header, dst.Header, X, Y, mode, opacity);
    ASSERT_EQ(dst.Bytes, expected.Bytes) << "round " << round;
  }
}

TEST_F(BlendRectTest, ClipsNegativeOffsetToSourceColumns) {
  // A 10-wide source at X = -3 on a 5-wide destination: source columns 3..7.
  TBuffer src(10, 1), dst(5, 1, 0x00000000);
  for (int x = 0; x < 10; ++x)
    src.Set(x, 0, 0xFF000000u | uint32_t(x * 10));
  BlendRect(src.Data(), dst.Data(), src.Header, dst.Header, -3, 0, blendOver, 255);
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(dst.Get(x, 0) & 0xFF, uint32_t((x + 3) * 10)) << x;
}

TEST_F(BlendRectTest, RowsAreCountedFromTheTop) {
  TBuffer src(1, 1, 0xFF0000FFu), dst(3, 3, 0);
  BlendRect(src.Data(), dst.Data(), src.Header, dst.Header, 2, 0, blendOver, 255);
  EXPECT_EQ(dst.Get(2, 0), 0xFE0000FFu);
  EXPECT_EQ(dst.Get(2, 2), 0u);
  // Far outside, or with extreme offsets: nothing, and nothing overflows.
  BlendRect(src.Data(), dst.Data(), src.Header, dst.Header, INT32_MIN, INT32_MIN, blendOver, 255);
  BlendRect(src.Data(), dst.Data(), src.Header, dst.Header, INT32_MAX, 0, blendOver, 255);
  BlendRect(nullptr, dst.Data(), src.Header, dst.Header, 0, 0, blendOver, 255);
}

TEST_F(BlendRectTest, DrawAlphaClearsTheKeyOnACopyOnly) {
  TBuffer src(2, 1), dst(2, 1, 0xFF000000u);
  src.Set(0, 0, 0xFFFF00FFu); // magenta, opaque
  src.Set(1, 0, 0xFF00FF00u);
  const auto before = src.Bytes;
  DrawAlpha(src.Data(), dst.Data(), src.Header, dst.Header, 0, 0, ZelKeyColor, 255);
  EXPECT_EQ(dst.Get(0, 0), 0xFF000000u) << "the key pixel is not drawn";
  EXPECT_EQ(dst.Get(1, 0), 0xFF00FE00u);
  EXPECT_EQ(src.Bytes, before);

  // A bad header raises; an empty one does nothing.
  sys::BITMAPINFO bad = src.Header;
  bad.bmiHeader.biBitCount = 24;
  EXPECT_THROW(DrawAlpha(src.Data(), dst.Data(), bad, dst.Header, 0, 0, clNone, 255), EZelBitError);
  sys::BITMAPINFO empty = Header32(0, 1);
  EXPECT_NO_THROW(DrawAlpha(src.Data(), dst.Data(), empty, dst.Header, 0, 0, clNone, 255));
}

TEST_F(BlendRectTest, ScratchBuffersGrowToTheLargestRequestOnly) {
  TBuffer big(3, 2), small(1, 1), dst(4, 4);
  DrawAlpha(big.Data(), dst.Data(), big.Header, dst.Header, 0, 0, ZelKeyColor, 255);
  EXPECT_EQ(bitop::KeyedCopy().Capacity(), 24u);
  DrawAlpha(small.Data(), dst.Data(), small.Header, dst.Header, 0, 0, ZelKeyColor, 255);
  EXPECT_EQ(bitop::KeyedCopy().Capacity(), 24u) << "never shrinks";
  DrawShadowed(big.Data(), dst.Data(), big.Header, dst.Header, 0, 0, clNone, 255, 1, 2);
  EXPECT_EQ(bitop::ShadowCopy().Capacity(), 24u);
  EXPECT_EQ(bitop::ShadowPlanes().Capacity(), 12u) << "alpha and filter planes";
  BitOpFinalize();
  EXPECT_EQ(bitop::KeyedCopy().Capacity(), 0u);
  EXPECT_EQ(bitop::ShadowPlanes().Capacity(), 0u);
}

TEST_F(BlendRectTest, ShadowedDrawingMovesImageAndShadow) {
  // One opaque white pixel at (4, 4) of a 9 x 9 transparent source, drawn
  // over opaque grey.  With offset 2 the image moves one right and one up,
  // the shadow one right and one down.
  auto run = [](int offset, int passes, uint8_t opacity) {
    TBuffer src(9, 9, 0), dst(9, 9, 0xFF808080u);
    src.Set(4, 4, 0xFFFFFFFFu);
    DrawShadowed(src.Data(), dst.Data(), src.Header, dst.Header, 0, 0, clNone, opacity, passes,
                 int8_t(offset));
    return dst;
  };
  TBuffer two = run(2, 0, 255);
  EXPECT_EQ(two.Get(5, 3), 0xFEFFFFFFu) << "image replaced with alpha sa";
  EXPECT_LT(two.Get(5, 5) & 0xFF, 0x80u) << "shadow darkens below right";
  EXPECT_EQ(two.Get(4, 4) & 0xFF, 0x80u) << "the original place stays untouched";

  TBuffer three = run(3, 0, 255);
  EXPECT_EQ(three.Get(6, 2), 0xFEFFFFFFu);
  EXPECT_LT(three.Get(5, 5) & 0xFF, 0x80u);

  TBuffer minus = run(-2, 0, 255);
  EXPECT_EQ(minus.Get(3, 3), 0xFEFFFFFFu);
  EXPECT_LT(minus.Get(3, 5) & 0xFF, 0x80u);

  // Passes 0, offset 0 and full opacity: no shadow at all.
  TBuffer none = run(0, 0, 255);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      if (x == 4 && y == 4) continue;
      EXPECT_EQ(none.Get(x, y), 0xFF808080u) << x << "," << y;
    }
}

} // namespace
} // namespace zel::test
