// The pixel routines that work on one buffer: header checks, the exchange
// with bitmaps, colour keys, grey and desaturated variants, and the blurred
// shadow.

#include <algorithm>
#include <cstring>

#include "bitop/BitOp.h"
#include "bitop/BitOpConsts.h"
#include "bitop/BitOpScratch.h"
#include "platform/gdi/Gdi.h"

namespace zel {

namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFFu;

uint32_t LoadPixel(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void StoreRgb(uint8_t* p, uint32_t rgb) {
  p[0] = uint8_t(rgb);
  p[1] = uint8_t(rgb >> 8);
  p[2] = uint8_t(rgb >> 16);
}

// Width x height of a header that passed CheckHeader32, as a pixel count
// that cannot overflow.
size_t PixelCount(const sys::BITMAPINFO& h) {
  return size_t(h.bmiHeader.biWidth) * size_t(h.bmiHeader.biHeight);
}

void ZeroHeader(sys::BITMAPINFO& h) {
  h.bmiHeader.biSize = 0;
  h.bmiHeader.biWidth = 0;
  h.bmiHeader.biHeight = 0;
  h.bmiHeader.biPlanes = 0;
  h.bmiHeader.biBitCount = 0;
  h.bmiHeader.biCompression = 0;
  h.bmiHeader.biSizeImage = 0;
  h.bmiHeader.biXPelsPerMeter = 0;
  h.bmiHeader.biYPelsPerMeter = 0;
  h.bmiHeader.biClrUsed = 0;
  h.bmiHeader.biClrImportant = 0;
  h.bmiColors[0] = sys::RGBQUAD{};
}

void Require32Bit(TBitmap* bitmap) {
  if (!bitmap || bitmap->PixelFormat() != pf32bit) throw EZelBitError(SZelBitNot32Bit);
}

} // namespace

bool CheckHeader32(const sys::BITMAPINFO& Header, bool RaiseOnError) {
  const sys::BITMAPINFOHEADER& h = Header.bmiHeader;
  if (h.biSize < 40 || h.biPlanes != 1) {
    if (RaiseOnError) throw EZelBitError(SZelBitBadHeader);
    return false;
  }
  if (h.biBitCount != 32) {
    if (RaiseOnError) throw EZelBitError(SZelBitNot32Bit);
    return false;
  }
  return h.biWidth > 0 && h.biHeight > 0;
}

void FreeBits32(uint8_t*& Bits) {
  delete[] Bits;
  Bits = nullptr;
}

void GetBits32(TBitmap* Bitmap, uint8_t*& Bits, sys::BITMAPINFO& Header) {
  FreeBits32(Bits);
  Require32Bit(Bitmap);
  const int w = std::max(Bitmap->Width(), 0);
  const int h = std::max(Bitmap->Height(), 0);
  Bits = new uint8_t[size_t(w) * size_t(h) * 4]();
  ZeroHeader(Header);
  Header.bmiHeader.biSize = 40;
  Header.bmiHeader.biWidth = w;
  Header.bmiHeader.biHeight = h;
  Header.bmiHeader.biPlanes = 1;
  Header.bmiHeader.biBitCount = 32;
  if (w > 0 && h > 0)
    sys::GetDIBits(Bitmap->Canvas()->Handle(), Bitmap->Handle(), 0, sys::UINT(h), Bits, &Header,
                   sys::DIB_RGB_COLORS);
}

void SetBits32(TBitmap* Bitmap, uint8_t*& Bits, sys::BITMAPINFO& Header) {
  // The buffer is freed and the header zeroed however this ends.
  struct Cleanup {
    uint8_t*& bits;
    sys::BITMAPINFO& header;
    ~Cleanup() {
      FreeBits32(bits);
      ZeroHeader(header);
    }
  } cleanup{Bits, Header};
  if (!Bits) return;
  Require32Bit(Bitmap);
  Bitmap->SetHeight(Header.bmiHeader.biHeight);
  Bitmap->SetWidth(Header.bmiHeader.biWidth);
  if (Bitmap->Empty()) return;
  sys::SetDIBits(Bitmap->Canvas()->Handle(), Bitmap->Handle(), 0, sys::UINT(Bitmap->Height()), Bits,
                 &Header, sys::DIB_RGB_COLORS);
}

TColor MixColors(TColor A, TColor B) {
  if (A == clDefault) return ColorToRGB(B);
  if (B == clDefault) return ColorToRGB(A);
  const uint32_t a = uint32_t(ColorToRGB(A));
  const uint32_t b = uint32_t(ColorToRGB(B));
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    result |= ((x + y + 1) >> 1) << shift;
  }
  return TColor(result);
}

void ClearKeyPixels(uint8_t* Bits, TColor Key, int Count) {
  if (!Bits || Count <= 0) return;
  const uint32_t key = uint32_t(Key) & kRgbMask;
  for (int i = 0; i < Count; ++i, Bits += 4)
    if ((LoadPixel(Bits) & kRgbMask) == key) std::memset(Bits, 0, 4);
}

void GrayPixels(uint8_t* Bits, TColor Key, int Count) {
  if (!Bits || Count <= 0) return;
  const uint32_t key = uint32_t(Key) & kRgbMask;
  for (int i = 0; i < Count; ++i, Bits += 4) {
    if ((LoadPixel(Bits) & kRgbMask) == key) continue;
    const uint8_t g = uint8_t((Bits[0] + Bits[1] + Bits[2]) / 3);
    Bits[0] = Bits[1] = Bits[2] = g;
  }
}

void FillEmptyAlpha(uint8_t* Bits, uint8_t Alpha, int Count) {
  if (!Bits || Count <= 0) return;
  for (int i = 0; i < Count; ++i)
    if (Bits[size_t(i) * 4 + 3] == 0) Bits[size_t(i) * 4 + 3] = Alpha;
}

void HalveSaturation(uint8_t* Bits, const sys::BITMAPINFO& Header, TColor Key) {
  if (!Bits || !CheckHeader32(Header, true)) return;
  const uint32_t key = uint32_t(Key) & kRgbMask;
  const size_t n = PixelCount(Header);
  // Neighbouring pixels often share a colour; remember the last conversion.
  uint32_t lastIn = 0xFFFFFFFFu, lastOut = 0;
  for (size_t i = 0; i < n; ++i) {
    uint8_t* p = Bits + i * 4;
    const uint32_t rgb = LoadPixel(p) & kRgbMask;
    if (rgb == key) continue;
    if (rgb != lastIn) {
      // The 24 bits go in as they lie in memory, without exchanging red
      // and blue; the inverse conversion gives them back the same way.
      int hue = 0, lum = 0, sat = 0;
      ColorRGBToHLS(sys::COLORREF(rgb), hue, lum, sat);
      lastIn = rgb;
      lastOut = uint32_t(ColorHLSToRGB(hue, lum, sat / 2)) & kRgbMask;
    }
    StoreRgb(p, lastOut);
  }
}

void BlurLine(const uint8_t* In, uint8_t* Out, int Count, int Step) {
  if (!In || !Out || Count <= 0) return;
  const size_t s = size_t(Step);
  if (Count == 1) {
    Out[0] = In[0];
    return;
  }
  // Out may not alias In: every output reads its neighbours' inputs.
  Out[0] = uint8_t((In[0] + In[s] + 1) >> 1);
  for (int i = 1; i < Count - 1; ++i) {
    const size_t at = size_t(i) * s;
    Out[at] = uint8_t((In[at - s] + In[at] + In[at + s] + 1) / 3);
  }
  const size_t last = size_t(Count - 1) * s;
  Out[last] = uint8_t((In[last - s] + In[last] + 1) >> 1);
}

void MakeShadow(uint8_t* Bits, const sys::BITMAPINFO& Header, TColor Key, uint8_t Opacity,
                int Passes) {
  if (Opacity == 0 || !Bits || !CheckHeader32(Header, true)) return;
  const int w = Header.bmiHeader.biWidth, h = Header.bmiHeader.biHeight;
  const size_t n = PixelCount(Header);
  if (Key != clNone) ClearKeyPixels(Bits, Key, int(std::min<size_t>(n, INT32_MAX)));
  uint8_t* alpha = bitop::ShadowPlanes().Reserve(n * 2);
  uint8_t* filter = alpha + n;
  for (size_t i = 0; i < n; ++i)
    alpha[i] = Bits[i * 4 + 3];
  for (int pass = 0; pass < Passes; ++pass) {
    for (int row = 0; row < h; ++row)
      BlurLine(alpha + size_t(row) * size_t(w), filter + size_t(row) * size_t(w), w, 1);
    for (int col = 0; col < w; ++col)
      BlurLine(filter + col, alpha + col, h, w);
  }
  std::memset(Bits, 0, n * 4);
  if (Opacity < 255)
    for (size_t i = 0; i < n; ++i)
      alpha[i] = uint8_t((alpha[i] * Opacity) >> 8);
  for (size_t i = 0; i < n; ++i)
    Bits[i * 4 + 3] = alpha[i];
}

} // namespace zel
