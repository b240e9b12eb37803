// Blending a full-HD picture beside pixman's OVER composite of the same
// pixels, on every blend path the processor has, drawing a cached button
// face, and composing one from scratch.  Two pictures: random bytes (every
// kind of alpha, no runs) and a wall of typical faces (opaque bodies,
// transparent surroundings, a soft edge).  The ratio of each case to
// pixman's on the same picture is printed after the table.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "bench/PixmanRatio.h"
#include "bitop/BitOp.h"
#include "bitop/BlendKernels.h"
#include "bitop/RichImageList.h"

namespace {

using namespace zel;

constexpr int kW = 1920, kH = 1080;

sys::BITMAPINFO Header(int w, int h) {
  sys::BITMAPINFO info;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biBitCount = 32;
  return info;
}

// A 24 x 24 face at (x, y) of its cell: an opaque rounded body with a soft
// one-pixel rim, transparent around it, as the faces of the bars are.
uint8_t FaceAlpha(int x, int y) {
  const double dx = std::max(std::abs(x - 11.5) - 7.0, 0.0),
               dy = std::max(std::abs(y - 11.5) - 7.0, 0.0);
  const double d = std::sqrt(dx * dx + dy * dy); // from the body's straight sides
  return d <= 3 ? 255 : d >= 4 ? 0 : uint8_t(255 * (4 - d));
}

// The same pictures for both: a source and an opaque destination.  Kind 0:
// random bytes; kind 1: a wall of faces.
struct Pictures {
  std::vector<uint8_t> Src, Dst;
  explicit Pictures(int kind) : Src(size_t(kW) * kH * 4), Dst(size_t(kW) * kH * 4) {
    std::mt19937 rng(1);
    for (auto& b : Src)
      b = uint8_t(rng());
    for (size_t i = 0; i < Dst.size(); ++i)
      Dst[i] = (i % 4 == 3) ? 255 : uint8_t(rng());
    if (kind == 1)
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
          Src[(size_t(y) * kW + size_t(x)) * 4 + 3] = FaceAlpha(x % 24, y % 24);
  }
};

const Pictures& Shared(int kind) {
  static Pictures random(0), faces(1);
  return kind == 1 ? faces : random;
}

void SetRate(benchmark::State& state) {
  state.counters["MP/s"] = benchmark::Counter(double(kW) * kH / 1e6 * double(state.iterations()),
                                              benchmark::Counter::kIsRate);
}

// Arguments: the picture kind and the blend path (0 scalar ... 3 AVX-512);
// a path the processor lacks is skipped.
void BM_BlendRectOver(benchmark::State& state) {
  const auto path = bitop::TBlendPath(state.range(1));
  if (path > bitop::BestBlendPath()) {
    state.SkipWithError("the processor has no such path");
    return;
  }
  bitop::UseBlendPath(path);
  state.SetLabel(bitop::BlendPathName(path));
  std::vector<uint8_t> src = Shared(int(state.range(0))).Src, dst = Shared(int(state.range(0))).Dst;
  const sys::BITMAPINFO h = Header(kW, kH);
  for (auto _ : state) {
    BlendRect(src.data(), dst.data(), h, h, 0, 0, blendOver, 255);
    benchmark::DoNotOptimize(dst.data());
  }
  bitop::UseBlendPath(bitop::BestBlendPath());
  SetRate(state);
}
BENCHMARK(BM_BlendRectOver)->ArgsProduct({{0, 1}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);

void BM_PixmanOver(benchmark::State& state) {
  // pixman works on premultiplied pixels: the source is converted once.
  std::vector<uint32_t> src(size_t(kW) * kH), dst(size_t(kW) * kH);
  const auto& p = Shared(int(state.range(0)));
  for (size_t i = 0; i < src.size(); ++i) {
    const uint32_t a = p.Src[i * 4 + 3];
    auto pm = [&](int c) { return (uint32_t(p.Src[i * 4 + size_t(c)]) * a + 127) / 255; };
    src[i] = (a << 24) | (pm(2) << 16) | (pm(1) << 8) | pm(0);
    dst[i] = 0xFF000000u | (uint32_t(p.Dst[i * 4 + 2]) << 16) | (uint32_t(p.Dst[i * 4 + 1]) << 8) |
             p.Dst[i * 4];
  }
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, src.data(), kW * 4);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, dst.data(), kW * 4);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::DoNotOptimize(dst.data());
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  SetRate(state);
}
BENCHMARK(BM_PixmanOver)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

std::unique_ptr<TRichImageList> XPFace(int index) {
  auto f = std::make_unique<TRichImageList>();
  f->SetBorder(ZelXPBorder);
  f->SetWidth(24);
  f->SetHeight(24);
  f->SetEnabled(true);
  f->SetHot(true);
  f->SetSubstitute(true);
  f->SetColor(clBtnFace);
  f->SetSelectedColor(clDefault);
  f->SetFrameColor(clDefault);
  f->SetImageIndex(-2 - (index % 11));
  f->SetCaption(std::to_string(index)); // distinct keys that fit nowhere
  return f;
}

// A full cache, the face drawn being the last one added: the longest search.
void BM_CachedFaceDraw(benchmark::State& state) {
  BitOpInitialize();
  TBitmap target(24, 24, pf32bit);
  std::unique_ptr<TRichImageList> face;
  for (int i = 0; i < FaceCacheCapacity; ++i) {
    face = XPFace(i);
    face->Draw(target.Canvas(), sys::RECT{0, 0, 24, 24});
  }
  for (auto _ : state)
    face->Draw(target.Canvas(), sys::RECT{0, 0, 24, 24});
  BitOpFinalize();
}
BENCHMARK(BM_CachedFaceDraw)->Unit(benchmark::kMicrosecond);

// The same face drawn at opacity 150: copy of the background, one blend.
void BM_CachedFaceDrawBlend(benchmark::State& state) {
  BitOpInitialize();
  TBitmap target(24, 24, pf32bit);
  auto face = XPFace(0);
  face->SetBlend(150);
  face->Draw(target.Canvas(), sys::RECT{0, 0, 24, 24});
  for (auto _ : state)
    face->Draw(target.Canvas(), sys::RECT{0, 0, 24, 24});
  BitOpFinalize();
}
BENCHMARK(BM_CachedFaceDrawBlend)->Unit(benchmark::kMicrosecond);

void BM_ComposeXPFace(benchmark::State& state) {
  BitOpInitialize();
  auto face = XPFace(0);
  face->SetCaption("");
  TBitmap bitmap(24, 24, pf32bit);
  TFont font;
  for (auto _ : state)
    face->ComposeFace(&bitmap, &font, sys::RECT{0, 0, 24, 24});
  BitOpFinalize();
}
BENCHMARK(BM_ComposeXPFace)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
  return zel::bench::RunWithPixmanRatios(argc, argv, {{"BM_BlendRectOver", "BM_PixmanOver"}});
}
