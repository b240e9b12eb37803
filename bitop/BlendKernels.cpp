// The vector blend kernels.  Each colour channel is
//   min(255, ((src * sa + 254) >> 8) + ((dst * (255 - sa) + 254) >> 8))
// with sa = (src.alpha * opacity + 254) >> 8, computed exactly on bytes
// widened to 16-bit lanes (every product fits in 16 bits); packing back to
// bytes saturates the sum at 255.  Unpacking and packing stay within
// 128-bit lanes, so in the wider registers every pixel still meets only its
// own bytes.
//
// Two common cases take a shortcut that gives the same bytes.  A block of
// transparent source pixels (sa = 0) leaves each channel at
// (dst * 255 + 254) >> 8, that is min(dst, 254).  A block of opaque source
// pixels at full opacity (sa = 254) gives
//   ((src * 254 + 254) >> 8) + ((dst + 254) >> 8)
//     = src - (src >= 128) + (dst >= 2),
// which never passes 255; both are byte operations without widening.
//
// The SSE2 kernel is the baseline of every x86-64 processor; the AVX2 and
// AVX-512 ones are compiled for their instruction sets by target attributes
// and only called when the processor has them, so the program still runs
// on a processor without them.

#include "bitop/BlendKernels.h"

#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZEL_BLEND_X86 1
#define ZEL_AVX2 __attribute__((target("avx2")))
#define ZEL_AVX512 __attribute__((target("avx512f,avx512bw")))
#endif

namespace zel::bitop {

namespace {

using TKernelTable = TBlendKernel[3][2]; // [mode][full opacity]

int NoKernel(uint8_t*, const uint8_t*, uint8_t, int) {
  return 0;
}

const TKernelTable kScalarKernels = {
    {NoKernel, NoKernel}, {NoKernel, NoKernel}, {NoKernel, NoKernel}};

#ifdef ZEL_BLEND_X86

// ---- SSE2: four pixels a step ---------------------------------------------

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

// The alpha rule of the mode on four packed pixels: opaque sets alpha 255;
// over takes the source (alpha sa) where the destination is transparent;
// replace takes it where the source is not; elsewhere the blended colour
// keeps the destination's alpha.
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

// Whether all four pixels' alpha bytes equal those of WANT (0 or 0xFF000000).
inline bool AllAlpha(__m128i s, __m128i want) {
  const __m128i alpha = _mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u)));
  return _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, want)) == 0xFFFF;
}

template <TBlendMode Mode, bool Full> inline __m128i Blend4(__m128i s, __m128i d, __m128i op16) {
  const __m128i zero = _mm_setzero_si128();
  __m128i color, sa;
  if (AllAlpha(s, zero)) {
    color = _mm_min_epu8(d, _mm_set1_epi8(char(254)));
    sa = zero;
  } else if (Full && AllAlpha(s, _mm_set1_epi32(int(0xFF000000u)))) {
    const __m128i two = _mm_set1_epi8(2);
    const __m128i high = _mm_cmpgt_epi8(zero, s);                  // src >= 128
    const __m128i lit = _mm_cmpeq_epi8(_mm_min_epu8(d, two), two); // dst >= 2
    color = _mm_sub_epi8(_mm_add_epi8(s, high), lit);
    sa = _mm_set1_epi8(char(254));
  } else {
    __m128i cLo, saLo, cHi, saHi;
    BlendHalf<Full>(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), op16, cLo, saLo);
    BlendHalf<Full>(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), op16, cHi, saHi);
    color = _mm_packus_epi16(cLo, cHi);
    sa = _mm_packus_epi16(saLo, saHi);
  }
  return ApplyAlphaRule<Mode>(s, d, color, sa);
}

template <TBlendMode Mode, bool Full>
int BlendSse2(uint8_t* dst, const uint8_t* src, uint8_t opacity, int count) {
  const __m128i op16 = _mm_set1_epi16(opacity);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + size_t(i) * 4));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + size_t(i) * 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + size_t(i) * 4),
                     Blend4<Mode, Full>(s, d, op16));
  }
  return i;
}

// ---- AVX2: eight pixels a step, the last few four at a time ---------------

template <bool Full>
ZEL_AVX2 inline void BlendHalfAvx2(__m256i s16, __m256i d16, __m256i op16, __m256i& color,
                                   __m256i& sa) {
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
ZEL_AVX2 inline __m256i Blend8(__m256i s, __m256i d, __m256i op16) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
  __m256i color, sa;
  if (_mm256_testz_si256(s, alphaMask)) {
    color = _mm256_min_epu8(d, _mm256_set1_epi8(char(254)));
    sa = zero;
  } else if (Full && _mm256_testc_si256(s, alphaMask)) {
    const __m256i two = _mm256_set1_epi8(2);
    const __m256i high = _mm256_cmpgt_epi8(zero, s);                     // src >= 128
    const __m256i lit = _mm256_cmpeq_epi8(_mm256_min_epu8(d, two), two); // dst >= 2
    color = _mm256_sub_epi8(_mm256_add_epi8(s, high), lit);
    sa = _mm256_set1_epi8(char(254));
  } else {
    __m256i cLo, saLo, cHi, saHi;
    BlendHalfAvx2<Full>(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), op16, cLo,
                        saLo);
    BlendHalfAvx2<Full>(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), op16, cHi,
                        saHi);
    color = _mm256_packus_epi16(cLo, cHi);
    sa = _mm256_packus_epi16(saLo, saHi);
  }
  if constexpr (Mode == blendOpaque) return _mm256_or_si256(color, alphaMask);
  const __m256i source = _mm256_blendv_epi8(s, sa, alphaMask);
  const __m256i kept = _mm256_blendv_epi8(color, d, alphaMask);
  __m256i take;
  if constexpr (Mode == blendOver)
    take = _mm256_cmpeq_epi32(_mm256_and_si256(d, alphaMask), zero);
  else
    take = _mm256_xor_si256(_mm256_cmpeq_epi32(_mm256_and_si256(s, alphaMask), zero),
                            _mm256_set1_epi32(-1));
  return _mm256_blendv_epi8(kept, source, take);
}

template <TBlendMode Mode, bool Full>
ZEL_AVX2 int BlendAvx2(uint8_t* dst, const uint8_t* src, uint8_t opacity, int count) {
  const __m256i op16 = _mm256_set1_epi16(opacity);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + size_t(i) * 4));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + size_t(i) * 4));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + size_t(i) * 4),
                        Blend8<Mode, Full>(s, d, op16));
  }
  return i + BlendSse2<Mode, Full>(dst + size_t(i) * 4, src + size_t(i) * 4, opacity, count - i);
}

// ---- AVX-512: sixteen pixels a step, the rest under a mask ----------------

template <bool Full>
ZEL_AVX512 inline void BlendHalfAvx512(__m512i s16, __m512i d16, __m512i op16, __m512i& color,
                                       __m512i& sa) {
  const __m512i c254 = _mm512_set1_epi16(254);
  __m512i a = _mm512_shufflelo_epi16(s16, _MM_SHUFFLE(3, 3, 3, 3));
  a = _mm512_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
  if constexpr (Full)
    sa = _mm512_min_epi16(a, c254);
  else
    sa = _mm512_srli_epi16(_mm512_add_epi16(_mm512_mullo_epi16(a, op16), c254), 8);
  const __m512i w = _mm512_sub_epi16(_mm512_set1_epi16(255), sa);
  const __m512i cs = _mm512_srli_epi16(_mm512_add_epi16(_mm512_mullo_epi16(s16, sa), c254), 8);
  const __m512i cd = _mm512_srli_epi16(_mm512_add_epi16(_mm512_mullo_epi16(d16, w), c254), 8);
  color = _mm512_add_epi16(cs, cd);
}

template <TBlendMode Mode, bool Full>
ZEL_AVX512 inline __m512i Blend16(__m512i s, __m512i d, __m512i op16) {
  const __m512i zero = _mm512_setzero_si512();
  const __m512i alphaMask = _mm512_set1_epi32(int(0xFF000000u));
  const __mmask64 alphaBytes = 0x8888888888888888ull;
  __m512i color, sa;
  if (_mm512_test_epi32_mask(s, alphaMask) == 0) {
    color = _mm512_min_epu8(d, _mm512_set1_epi8(char(254)));
    sa = zero;
  } else if (Full && _mm512_cmpeq_epi32_mask(_mm512_and_si512(s, alphaMask), alphaMask) == 0xFFFF) {
    const __m512i one = _mm512_set1_epi8(1);
    const __mmask64 high = _mm512_movepi8_mask(s);                        // src >= 128
    const __mmask64 lit = _mm512_cmpge_epu8_mask(d, _mm512_set1_epi8(2)); // dst >= 2
    const __m512i lowered = _mm512_mask_sub_epi8(s, high, s, one);
    color = _mm512_mask_add_epi8(lowered, lit, lowered, one);
    sa = _mm512_set1_epi8(char(254));
  } else {
    __m512i cLo, saLo, cHi, saHi;
    BlendHalfAvx512<Full>(_mm512_unpacklo_epi8(s, zero), _mm512_unpacklo_epi8(d, zero), op16, cLo,
                          saLo);
    BlendHalfAvx512<Full>(_mm512_unpackhi_epi8(s, zero), _mm512_unpackhi_epi8(d, zero), op16, cHi,
                          saHi);
    color = _mm512_packus_epi16(cLo, cHi);
    sa = _mm512_packus_epi16(saLo, saHi);
  }
  if constexpr (Mode == blendOpaque) return _mm512_or_si512(color, alphaMask);
  const __m512i source = _mm512_mask_blend_epi8(alphaBytes, s, sa);
  const __m512i kept = _mm512_mask_blend_epi8(alphaBytes, color, d);
  __mmask16 take;
  if constexpr (Mode == blendOver)
    take = _mm512_testn_epi32_mask(d, alphaMask);
  else
    take = _mm512_test_epi32_mask(s, alphaMask);
  return _mm512_mask_blend_epi32(take, kept, source);
}

template <TBlendMode Mode, bool Full>
ZEL_AVX512 int BlendAvx512(uint8_t* dst, const uint8_t* src, uint8_t opacity, int count) {
  const __m512i op16 = _mm512_set1_epi16(opacity);
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m512i s = _mm512_loadu_si512(src + size_t(i) * 4);
    const __m512i d = _mm512_loadu_si512(dst + size_t(i) * 4);
    _mm512_storeu_si512(dst + size_t(i) * 4, Blend16<Mode, Full>(s, d, op16));
  }
  if (i < count) {
    // The masked load reads nothing past the line, and lanes outside the
    // mask are neither read nor written.
    const __mmask16 rest = __mmask16((1u << (count - i)) - 1);
    const __m512i s = _mm512_maskz_loadu_epi32(rest, src + size_t(i) * 4);
    const __m512i d = _mm512_maskz_loadu_epi32(rest, dst + size_t(i) * 4);
    _mm512_mask_storeu_epi32(dst + size_t(i) * 4, rest, Blend16<Mode, Full>(s, d, op16));
  }
  return count;
}

#define ZEL_KERNEL_TABLE(name)                                                                     \
  {                                                                                                \
    {name<blendReplace, false>, name<blendReplace, true>},                                         \
        {name<blendOver, false>, name<blendOver, true>}, {                                         \
      name<blendOpaque, false>, name<blendOpaque, true>                                            \
    }                                                                                              \
  }

const TKernelTable kSse2Kernels = ZEL_KERNEL_TABLE(BlendSse2);
const TKernelTable kAvx2Kernels = ZEL_KERNEL_TABLE(BlendAvx2);
const TKernelTable kAvx512Kernels = ZEL_KERNEL_TABLE(BlendAvx512);

#undef ZEL_KERNEL_TABLE

#endif

const TKernelTable& KernelsOf(TBlendPath path) {
#ifdef ZEL_BLEND_X86
  switch (path) {
  case TBlendPath::Avx512:
    return kAvx512Kernels;
  case TBlendPath::Avx2:
    return kAvx2Kernels;
  case TBlendPath::Sse2:
    return kSse2Kernels;
  case TBlendPath::Scalar:
    break;
  }
#else
  (void)path;
#endif
  return kScalarKernels;
}

TBlendPath DetectBestPath() {
#ifdef ZEL_BLEND_X86
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
    return TBlendPath::Avx512;
  if (__builtin_cpu_supports("avx2")) return TBlendPath::Avx2;
  return TBlendPath::Sse2;
#else
  return TBlendPath::Scalar;
#endif
}

// The path in use; chosen on first use, changed only by UseBlendPath.
std::atomic<TBlendPath>& ActivePath() {
  static std::atomic<TBlendPath> path{BestBlendPath()};
  return path;
}

} // namespace

TBlendPath BestBlendPath() {
  static const TBlendPath best = DetectBestPath();
  return best;
}

TBlendPath CurrentBlendPath() {
  return ActivePath().load(std::memory_order_relaxed);
}

TBlendPath UseBlendPath(TBlendPath path) {
  const TBlendPath used = path > BestBlendPath() ? BestBlendPath() : path;
  ActivePath().store(used, std::memory_order_relaxed);
  return used;
}

const char* BlendPathName(TBlendPath path) {
  switch (path) {
  case TBlendPath::Avx512:
    return "AVX-512";
  case TBlendPath::Avx2:
    return "AVX2";
  case TBlendPath::Sse2:
    return "SSE2";
  case TBlendPath::Scalar:
    break;
  }
  return "scalar";
}

TBlendKernel CurrentBlendKernel(TBlendMode mode, bool fullOpacity) {
  if (unsigned(mode) >= 3) return NoKernel; // the scalar rule alone
  return KernelsOf(CurrentBlendPath())[mode][fullOpacity ? 1 : 0];
}

} // namespace zel::bitop
