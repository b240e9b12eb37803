// Alpha blending of lines and rectangles, keyed drawing and drop shadows.
//
// Every colour channel of a blended pixel is
//   min(255, ((src * sa + 254) >> 8) + ((dst * (255 - sa) + 254) >> 8))
// with sa = (src.alpha * opacity + 254) >> 8; all products fit in 16 bits.
// The vector path computes exactly this on four pixels at a time, widening
// bytes to 16-bit lanes; the scalar path handles the rest of a line.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "bitop/BitOp.h"
#include "bitop/BitOpScratch.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

#if defined(__x86_64__) || defined(__i386__)

// The source alpha scaled by the opacity.  At full opacity the rule
// (a * 255 + 254) >> 8 is a itself for a < 255 and 254 for 255, that is
// min(a, 254), which saves a multiplication.
template <bool Full> inline __m128i ScaledAlpha(__m128i a, __m128i op16) {
  if constexpr (Full)
    return _mm_min_epi16(a, _mm_set1_epi16(254));
  else
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, op16), _mm_set1_epi16(254)), 8);
}

// Two pixels widened to 16-bit lanes: the blended colour and sa broadcast.
template <bool Full>
inline void BlendHalf(__m128i s16, __m128i d16, __m128i op16, __m128i& color, __m128i& sa) {
  const __m128i c254 = _mm_set1_epi16(254);
  __m128i a = _mm_shufflelo_epi16(s16, _MM_SHUFFLE(3, 3, 3, 3));
  a = _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
  sa = ScaledAlpha<Full>(a, op16);
  const __m128i w = _mm_sub_epi16(_mm_set1_epi16(255), sa);
  const __m128i cs = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(s16, sa), c254), 8);
  const __m128i cd = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d16, w), c254), 8);
  color = _mm_add_epi16(cs, cd);
}

// The alpha rule of the mode on four packed pixels.
template <TBlendMode Mode>
inline __m128i ApplyAlphaRule(__m128i s, __m128i d, __m128i color, __m128i sa) {
  const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
  if constexpr (Mode == blendOpaque) return _mm_or_si128(color, alphaMask);
  const __m128i zero = _mm_setzero_si128();
  const __m128i source = _mm_or_si128(_mm_andnot_si128(alphaMask, s), _mm_and_si128(sa, alphaMask));
  const __m128i kept =
      _mm_or_si128(_mm_andnot_si128(alphaMask, color), _mm_and_si128(d, alphaMask));
  __m128i take;
  if constexpr (Mode == blendOver)
    take = _mm_cmpeq_epi32(_mm_and_si128(d, alphaMask), zero);
  else
    take = _mm_xor_si128(_mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), zero), _mm_set1_epi32(-1));
  return _mm_or_si128(_mm_and_si128(take, source), _mm_andnot_si128(take, kept));
}

template <TBlendMode Mode, bool Full>
int BlendSse2(uint8_t* dst, const uint8_t* src, uint8_t opacity, int count) {
  const __m128i op16 = _mm_set1_epi16(opacity);
  const __m128i zero = _mm_setzero_si128();
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + size_t(i) * 4));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + size_t(i) * 4));
    __m128i cLo, saLo, cHi, saHi;
    BlendHalf<Full>(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), op16, cLo, saLo);
    BlendHalf<Full>(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), op16, cHi, saHi);
    // Packing saturates the sums at 255.
    const __m128i out =
        ApplyAlphaRule<Mode>(s, d, _mm_packus_epi16(cLo, cHi), _mm_packus_epi16(saLo, saHi));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + size_t(i) * 4), out);
  }
  return i;
}

// The same on eight pixels with 256-bit registers, for processors that
// have them.  Unpacking and packing stay within 128-bit halves, so every
// pixel still meets only its own bytes.
template <bool Full>
__attribute__((target("avx2"))) inline void BlendHalfAvx2(__m256i s16, __m256i d16, __m256i op16,
                                                          __m256i& color, __m256i& sa) {
  const __m256i c254 = _mm256_set1_epi16(254);
  __m256i a = _mm256_shufflelo_epi16(s16, _MM_SHUFFLE(3, 3, 3, 3));
  a = _mm256_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
  if constexpr (Full)
    sa = _mm256_min_epi16(a, c254);
  else
    sa = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, op16), c254), 8);
  const __m256i w = _mm256_sub_epi16(_mm256_set1_epi16(255), sa);
  const __m256i cs = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(s16, sa), c254), 8);
  const __m256i cd = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(d16, w), c254), 8);
  color = _mm256_add_epi16(cs, cd);
}

template <TBlendMode Mode, bool Full>
__attribute__((target("avx2"))) int BlendAvx2(uint8_t* dst, const uint8_t* src, uint8_t opacity,
                                              int count) {
  const __m256i op16 = _mm256_set1_epi16(opacity);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + size_t(i) * 4));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + size_t(i) * 4));
    __m256i cLo, saLo, cHi, saHi;
    BlendHalfAvx2<Full>(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), op16, cLo,
                        saLo);
    BlendHalfAvx2<Full>(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), op16, cHi,
                        saHi);
    const __m256i color = _mm256_packus_epi16(cLo, cHi);
    const __m256i sa = _mm256_packus_epi16(saLo, saHi);
    __m256i out;
    if constexpr (Mode == blendOpaque) {
      out = _mm256_or_si256(color, alphaMask);
    } else {
      const __m256i source =
          _mm256_or_si256(_mm256_andnot_si256(alphaMask, s), _mm256_and_si256(sa, alphaMask));
      const __m256i kept =
          _mm256_or_si256(_mm256_andnot_si256(alphaMask, color), _mm256_and_si256(d, alphaMask));
      __m256i take;
      if constexpr (Mode == blendOver)
        take = _mm256_cmpeq_epi32(_mm256_and_si256(d, alphaMask), zero);
      else
        take = _mm256_xor_si256(_mm256_cmpeq_epi32(_mm256_and_si256(s, alphaMask), zero),
                                _mm256_set1_epi32(-1));
      out = _mm256_blendv_epi8(kept, source, take);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + size_t(i) * 4), out);
  }
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

template <TBlendMode Mode, bool Full>
int BlendVector(uint8_t* dst, const uint8_t* src, uint8_t opacity, int count) {
  int done = 0;
  if (count >= 8 && HasAvx2()) done = BlendAvx2<Mode, Full>(dst, src, opacity, count);
  return done + BlendSse2<Mode, Full>(dst + size_t(done) * 4, src + size_t(done) * 4, opacity,
                                      count - done);
}

template <TBlendMode Mode>
int BlendVector(uint8_t* dst, const uint8_t* src, uint8_t opacity, int count) {
  return opacity == 255 ? BlendVector<Mode, true>(dst, src, opacity, count)
                        : BlendVector<Mode, false>(dst, src, opacity, count);
}

#endif

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
  int done = 0;
#if defined(__x86_64__) || defined(__i386__)
  switch (Mode) {
  case blendReplace:
    done = BlendVector<blendReplace>(Dst, Src, Opacity, Count);
    break;
  case blendOver:
    done = BlendVector<blendOver>(Dst, Src, Opacity, Count);
    break;
  case blendOpaque:
    done = BlendVector<blendOpaque>(Dst, Src, Opacity, Count);
    break;
  }
#endif
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
  for (int64_t r = 0; r < h; ++r) {
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
