// Alpha blending of lines and rectangles, keyed drawing and drop shadows.
//
// Every colour channel of a blended pixel is
//   min(255, ((src * sa + 254) >> 8) + ((dst * (255 - sa) + 254) >> 8))
// with sa = (src.alpha * opacity + 254) >> 8; all products fit in 16 bits.
// The vector kernels of BlendKernels.cpp compute exactly this on as many
// pixels at a time as the processor's widest registers hold; the scalar rule
// here does whatever they leave of a line.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "bitop/BitOp.h"
#include "bitop/BitOpScratch.h"
#include "bitop/BlendKernels.h"

namespace zel {

namespace {

inline uint8_t Scale(unsigned x, unsigned a) {
  return uint8_t((x * a + 254) >> 8);
}

void BlendPixel(uint8_t* d, const uint8_t* s, unsigned opacity, TBlendMode mode) {
  const unsigned sa = (s[3] * opacity + 254) >> 8;
  const unsigned w = 255 - sa;
  const bool takeSource = (mode == blendOver && d[3] == 0) || (mode == blendReplace && s[3] != 0);
  if (takeSource) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
    d[3] = uint8_t(sa);
    return;
  }
  for (int c = 0; c < 3; ++c)
    d[c] = uint8_t(std::min(255u, unsigned(Scale(s[c], sa)) + Scale(d[c], w)));
  if (mode == blendOpaque) d[3] = 255;
}

// Rows of a buffer are stored bottom-up: picture row y is memory row h - 1 - y.
inline size_t RowOffset(int64_t pictureRow, int64_t height, int64_t width) {
  return size_t((height - 1 - pictureRow) * width * 4);
}

bool UsableBuffers(const uint8_t* src, const uint8_t* dst, const sys::BITMAPINFO& srcHeader,
                   const sys::BITMAPINFO& dstHeader) {
  return src && dst && CheckHeader32(srcHeader, true) && CheckHeader32(dstHeader, true);
}

size_t ByteCount(const sys::BITMAPINFO& h) {
  return size_t(h.bmiHeader.biWidth) * size_t(h.bmiHeader.biHeight) * 4;
}

// The source with its key pixels cleared, in the keyed-copy scratch buffer,
// or the source itself when there is no key.
const uint8_t* KeyedSource(const uint8_t* src, const sys::BITMAPINFO& srcHeader, TColor key) {
  if (key == clNone) return src;
  const size_t bytes = ByteCount(srcHeader);
  uint8_t* copy = bitop::KeyedCopy().Reserve(bytes);
  std::memcpy(copy, src, bytes);
  ClearKeyPixels(copy, key, int(bytes / 4));
  return copy;
}

} // namespace

void BlendLine(uint8_t* Dst, const uint8_t* Src, uint8_t Opacity, int Count, TBlendMode Mode) {
  if (!Dst || !Src || Count <= 0) return;
  const int done = bitop::CurrentBlendKernel(Mode, Opacity == 255)(Dst, Src, Opacity, Count);
  for (int i = done; i < Count; ++i)
    BlendPixel(Dst + size_t(i) * 4, Src + size_t(i) * 4, Opacity, Mode);
}

void BlendRect(const uint8_t* Src, uint8_t* Dst, const sys::BITMAPINFO& SrcHeader,
               const sys::BITMAPINFO& DstHeader, int X, int Y, TBlendMode Mode, uint8_t Opacity) {
  if (!Src || !Dst || Opacity == 0) return;
  const int64_t ws = SrcHeader.bmiHeader.biWidth, hs = SrcHeader.bmiHeader.biHeight;
  const int64_t wd = DstHeader.bmiHeader.biWidth, hd = DstHeader.bmiHeader.biHeight;
  // 64-bit arithmetic, so that offsets near the limits of int cannot overflow.
  int64_t sx = 0, w = wd - X;
  if (X < 0) {
    sx = -int64_t(X);
    w = wd;
  }
  if (sx + w > ws) w = ws - sx;
  if (w <= 0) return;
  int64_t sy = 0, h = hd - Y;
  if (Y < 0) {
    sy = -int64_t(Y);
    h = hd;
  }
  if (sy + h > hs) h = hs - sy;
  if (h <= 0) return;
  const int64_t dx = std::max(X, 0), dy = std::max(Y, 0);
  // Separate buffers are walked in memory order (the picture's last row
  // first), which the processor's prefetching follows best; a buffer blended
  // onto itself keeps the picture's order, on which its result depends.
  const uintptr_t s0 = reinterpret_cast<uintptr_t>(Src), d0 = reinterpret_cast<uintptr_t>(Dst);
  const bool apart = s0 + uintptr_t(ws * hs * 4) <= d0 || d0 + uintptr_t(wd * hd * 4) <= s0;
  for (int64_t i = 0; i < h; ++i) {
    const int64_t r = apart ? h - 1 - i : i;
    uint8_t* d = Dst + RowOffset(dy + r, hd, wd) + size_t(dx) * 4;
    const uint8_t* s = Src + RowOffset(sy + r, hs, ws) + size_t(sx) * 4;
    BlendLine(d, s, Opacity, int(w), Mode);
  }
}

void DrawAlpha(const uint8_t* Src, uint8_t* Dst, const sys::BITMAPINFO& SrcHeader,
               const sys::BITMAPINFO& DstHeader, int X, int Y, TColor Key, uint8_t Opacity) {
  if (Opacity == 0 || !UsableBuffers(Src, Dst, SrcHeader, DstHeader)) return;
  const uint8_t* source = KeyedSource(Src, SrcHeader, Key);
  BlendRect(source, Dst, SrcHeader, DstHeader, X, Y, blendOver, Opacity);
}

void DrawShadowed(const uint8_t* Src, uint8_t* Dst, const sys::BITMAPINFO& SrcHeader,
                  const sys::BITMAPINFO& DstHeader, int X, int Y, TColor Key, uint8_t Opacity,
                  int Passes, int8_t Offset) {
  if (Opacity == 0 || !UsableBuffers(Src, Dst, SrcHeader, DstHeader)) return;
  const uint8_t* source = KeyedSource(Src, SrcHeader, Key);
  const int offset = Offset, magnitude = std::abs(offset);
  const uint8_t shadowOpacity = uint8_t(Opacity / 3);
  if ((Passes != 0 || offset != 0 || Opacity != 255) && shadowOpacity > 0) {
    const size_t bytes = ByteCount(SrcHeader);
    uint8_t* shadow = bitop::ShadowCopy().Reserve(bytes);
    std::memcpy(shadow, source, bytes);
    MakeShadow(shadow, SrcHeader, clNone, 255, Passes);
    BlendRect(shadow, Dst, SrcHeader, DstHeader, X + offset / 2, Y + magnitude / 2, blendOver,
              shadowOpacity);
  }
  // The image moves up and sideways by half the offset, rounded up, so the
  // shadow shows below it.
  const int lift = (magnitude + 1) / 2;
  const int side = offset < 0 ? -lift : lift;
  BlendRect(source, Dst, SrcHeader, DstHeader, X + side, Y - lift, blendReplace, Opacity);
}

} // namespace zel
