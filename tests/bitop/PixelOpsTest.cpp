// Header checks, the exchange with bitmaps, keys, grey and desaturated
// pixels, the blur filter and the shadow.

#include "bitop/BitOpConsts.h"
#include "tests/bitop/BitOpTestUtil.h"

namespace zel::test {
namespace {

class PixelOps : public BitOpTest {};

TEST_F(PixelOps, HeaderChecksRaiseTheRightMessage) {
  EXPECT_TRUE(CheckHeader32(Header32(3, 2), true));
  sys::BITMAPINFO h = Header32(3, 2);
  h.bmiHeader.biSize = 39;
  EXPECT_FALSE(CheckHeader32(h, false));
  try {
    CheckHeader32(h, true);
    FAIL();
  } catch (const EZelBitError& e) {
    EXPECT_STREQ(e.what(), SZelBitBadHeader);
  }
  h = Header32(3, 2);
  h.bmiHeader.biPlanes = 2;
  EXPECT_THROW(CheckHeader32(h, true), EZelBitError);
  h = Header32(3, 2);
  h.bmiHeader.biBitCount = 24;
  try {
    CheckHeader32(h, true);
    FAIL();
  } catch (const EZelBitError& e) {
    EXPECT_STREQ(e.what(), SZelBitNot32Bit);
  }
  // Empty sizes never raise.
  EXPECT_FALSE(CheckHeader32(Header32(0, 5), true));
  EXPECT_FALSE(CheckHeader32(Header32(5, -1), true));
}

TEST_F(PixelOps, BitsRoundTripThroughABitmapBottomUp) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(3, 2);
  bmp.ScanLine(0)[0] = 0x11223344u; // top-left
  bmp.ScanLine(1)[2] = 0x55667788u; // bottom-right
  uint8_t* bits = nullptr;
  sys::BITMAPINFO h;
  GetBits32(&bmp, bits, h);
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(h.bmiHeader.biWidth, 3);
  EXPECT_EQ(h.bmiHeader.biHeight, 2);
  EXPECT_EQ(h.bmiHeader.biBitCount, 32);
  // The first memory row is the bottom row.
  EXPECT_EQ(bits[2 * 4 + 0], 0x88);
  EXPECT_EQ(bits[2 * 4 + 3], 0x55);
  EXPECT_EQ(bits[3 * 4 + 3], 0x11);
  // Written back into a bitmap of another size, which takes the header's.
  bits[0] = 0xAB;
  TBitmap other;
  other.SetPixelFormat(pf32bit);
  other.SetSize(7, 7);
  SetBits32(&other, bits, h);
  EXPECT_EQ(bits, nullptr);
  EXPECT_EQ(h.bmiHeader.biSize, 0u);
  EXPECT_EQ(other.Width(), 3);
  EXPECT_EQ(other.Height(), 2);
  EXPECT_EQ(other.ScanLine(1)[0] & 0xFF, 0xABu);
  EXPECT_EQ(other.ScanLine(1)[2], 0x55667788u);
}

TEST_F(PixelOps, WrongFormatRaisesAndStillFrees) {
  TBitmap bmp24;
  bmp24.SetPixelFormat(pf24bit);
  bmp24.SetSize(2, 2);
  uint8_t* bits = new uint8_t[4];
  sys::BITMAPINFO h = Header32(1, 1);
  EXPECT_THROW(GetBits32(&bmp24, bits, h), EZelBitError);
  EXPECT_EQ(bits, nullptr);

  TBitmap good;
  good.SetPixelFormat(pf32bit);
  good.SetSize(1, 1);
  GetBits32(&good, bits, h);
  EXPECT_THROW(SetBits32(&bmp24, bits, h), EZelBitError);
  EXPECT_EQ(bits, nullptr) << "the buffer is freed all the same";
  EXPECT_EQ(h.bmiHeader.biWidth, 0);
  // Nothing to write: nothing happens.
  EXPECT_NO_THROW(SetBits32(&bmp24, bits, h));
}

TEST_F(PixelOps, MixColorsAveragesAndResolves) {
  EXPECT_EQ(MixColors(0x000000, 0xFFFFFF), 0x808080);
  EXPECT_EQ(MixColors(0x010203, 0x020304), 0x020304);
  EXPECT_EQ(MixColors(clDefault, clBtnFace), ColorToRGB(clBtnFace));
  EXPECT_EQ(MixColors(clRed, clDefault), clRed);
  EXPECT_EQ(MixColors(clBtnFace, clBtnFace), ColorToRGB(clBtnFace));
}

TEST_F(PixelOps, KeyGreyAndEmptyAlpha) {
  // Key match is on the low 24 bits as raw numbers; the alpha is ignored.
  TBuffer b(4, 1);
  b.Set(0, 0, 0x12FF00FFu);
  b.Set(1, 0, 0xFF0000FFu);
  b.Set(2, 0, 0x00306090u);
  b.Set(3, 0, 0x00FF00FEu);
  TBuffer grey = b;
  ClearKeyPixels(b.Data(), ZelKeyColor, 4);
  EXPECT_EQ(b.Get(0, 0), 0u);
  EXPECT_EQ(b.Get(3, 0), 0x00FF00FEu);
  ClearKeyPixels(nullptr, ZelKeyColor, 4);

  GrayPixels(grey.Data(), ZelKeyColor, 4);
  EXPECT_EQ(grey.Get(0, 0), 0x12FF00FFu) << "key pixels stay";
  EXPECT_EQ(grey.Get(1, 0), 0xFF555555u);
  EXPECT_EQ(grey.Get(2, 0), 0x00606060u);

  FillEmptyAlpha(grey.Data(), 200, 4);
  EXPECT_EQ(grey.Get(2, 0) >> 24, 200u);
  EXPECT_EQ(grey.Get(1, 0) >> 24, 255u);
}

TEST_F(PixelOps, HalveSaturationKeepsGreysAlphaAndKey) {
  TBuffer b(3, 1);
  b.Set(0, 0, 0x7F0000FFu); // saturated blue in memory
  b.Set(1, 0, 0x40808080u);
  b.Set(2, 0, 0x00FF00FFu);
  HalveSaturation(b.Data(), b.Header, ZelKeyColor);
  const uint32_t blue = b.Get(0, 0);
  EXPECT_EQ(blue >> 24, 0x7Fu);
  int h, l, s;
  ColorRGBToHLS(sys::COLORREF(blue & 0xFFFFFF), h, l, s);
  EXPECT_NEAR(s, 120, 3);
  // A grey keeps its alpha and stays grey (the luminance scale may round it).
  const uint32_t grey = b.Get(1, 0);
  EXPECT_EQ(grey >> 24, 0x40u);
  EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
  EXPECT_NEAR(int(grey & 0xFF), 0x80, 1);
  EXPECT_EQ(b.Get(2, 0), 0x00FF00FFu);
  sys::BITMAPINFO bad = b.Header;
  bad.bmiHeader.biSize = 0;
  EXPECT_THROW(HalveSaturation(b.Data(), bad, ZelKeyColor), EZelBitError);
}

TEST_F(PixelOps, BlurLineFilters) {
  const uint8_t in[3] = {0, 255, 0};
  uint8_t out[3];
  BlurLine(in, out, 3, 1);
  EXPECT_EQ(out[0], 128);
  EXPECT_EQ(out[1], 85);
  EXPECT_EQ(out[2], 128);
  const uint8_t two[2] = {10, 21};
  uint8_t o2[2];
  BlurLine(two, o2, 2, 1);
  EXPECT_EQ(o2[0], 16);
  EXPECT_EQ(o2[1], 16);
  uint8_t one = 0;
  BlurLine(in + 1, &one, 1, 1);
  EXPECT_EQ(one, 255);
  // A column: every third byte.
  const uint8_t col[7] = {0, 9, 9, 255, 9, 9, 0};
  uint8_t colOut[7] = {};
  BlurLine(col, colOut, 3, 3);
  EXPECT_EQ(colOut[0], 128);
  EXPECT_EQ(colOut[3], 85);
  EXPECT_EQ(colOut[6], 128);
  EXPECT_EQ(colOut[1], 0);
}

TEST_F(PixelOps, MakeShadowIsBlackWithBlurredAlpha) {
  TBuffer b(3, 3, 0);
  b.Set(1, 1, 0xFFFFFFFFu);
  b.Set(0, 0, 0xFFFF00FFu); // a key pixel: cleared first
  MakeShadow(b.Data(), b.Header, ZelKeyColor, 255, 1);
  // Rows then columns: 0 255 0 gives 128 85 128 across, then down.
  EXPECT_EQ(b.Get(1, 1), 28u << 24);
  EXPECT_EQ(b.Get(1, 0), 43u << 24);
  EXPECT_EQ(b.Get(0, 0), 64u << 24);
  EXPECT_EQ(b.Get(2, 2), 64u << 24);

  TBuffer c(1, 1, 0xFFFFFFFFu);
  MakeShadow(c.Data(), c.Header, clNone, 128, 0);
  EXPECT_EQ(c.Get(0, 0), uint32_t((255 * 128) >> 8) << 24);
  TBuffer d(1, 1, 0xFFFFFFFFu);
  MakeShadow(d.Data(), d.Header, clNone, 0, 3);
  EXPECT_EQ(d.Get(0, 0), 0xFFFFFFFFu) << "opacity 0 does nothing";
}

} // namespace
} // namespace zel::test
