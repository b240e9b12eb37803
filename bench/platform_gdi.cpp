// The drawing layer's bulk paths beside pixman doing the same job on the
// same pixels: a full-surface solid fill, horizontal and vertical two-colour
// gradients, and a surface-to-surface copy.  Each case runs on a 1280 x 800
// surface and on a small 64 x 64 one; throughput is reported in megapixels
// per second ("MP/s") and as items (pixels) per second.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include "platform/gdi/Gdi.h"

namespace {

using namespace zel::sys;

// A memory context with its own bitmap, and a pixman image over the very
// same pixels.
struct Canvas {
  Canvas(int w, int h) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    bmp = CreateBitmap(w, h, 32);
    old = SelectObject(dc, bmp);
    image = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h,
                                     reinterpret_cast<uint32_t*>(bmp->surface.Pixels().data()),
                                     w * int(sizeof(Pixel)));
  }
  ~Canvas() {
    pixman_image_unref(image);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  uint32_t* Bits() { return reinterpret_cast<uint32_t*>(bmp->surface.Pixels().data()); }

  int width, height;
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  pixman_image_t* image;
};

void Report(benchmark::State& state, int w, int h) {
  const double pixels = double(w) * double(h) * double(state.iterations());
  state.SetItemsProcessed(int64_t(pixels));
  state.counters["MP/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
}

int Width(const benchmark::State& state) {
  return int(state.range(0));
}
int Height(const benchmark::State& state) {
  return int(state.range(1));
}

// ---- Solid fill ---------------------------------------------------------------

void BM_Gdi_FillRect(benchmark::State& state) {
  Canvas c(Width(state), Height(state));
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(RGB(12, 34, 56)));
  const RECT all{0, 0, c.width, c.height};
  for (auto _ : state) {
    FillRect(c.dc, all, brush);
    benchmark::DoNotOptimize(c.Bits()[0]);
  }
  Report(state, c.width, c.height);
}

// A fill that leaves a column free on either side, so rows are not
// contiguous: the path a child window's background takes.
void BM_Gdi_FillRectInset(benchmark::State& state) {
  Canvas c(Width(state), Height(state));
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(RGB(12, 34, 56)));
  const RECT inset{1, 0, c.width - 1, c.height};
  for (auto _ : state) {
    FillRect(c.dc, inset, brush);
    benchmark::DoNotOptimize(c.Bits()[1]);
  }
  Report(state, c.width - 2, c.height);
}

void BM_Pixman_FillInset(benchmark::State& state) {
  Canvas c(Width(state), Height(state));
  for (auto _ : state) {
    pixman_fill(c.Bits(), c.width, 32, 1, 0, c.width - 2, c.height, 0xFF0C2238u);
    benchmark::DoNotOptimize(c.Bits()[1]);
  }
  Report(state, c.width - 2, c.height);
}

void BM_Pixman_FillRectangles(benchmark::State& state) {
  Canvas c(Width(state), Height(state));
  const pixman_color_t color{0x0C0C, 0x2222, 0x3838, 0xFFFF};
  const pixman_rectangle16_t rect{0, 0, uint16_t(c.width), uint16_t(c.height)};
  for (auto _ : state) {
    pixman_image_fill_rectangles(PIXMAN_OP_SRC, c.image, &color, 1, &rect);
    benchmark::DoNotOptimize(c.Bits()[0]);
  }
  Report(state, c.width, c.height);
}

void BM_Pixman_Fill(benchmark::State& state) {
  Canvas c(Width(state), Height(state));
  for (auto _ : state) {
    pixman_fill(c.Bits(), c.width, 32, 0, 0, c.width, c.height, 0xFF0C2238u);
    benchmark::DoNotOptimize(c.Bits()[0]);
  }
  Report(state, c.width, c.height);
}

// ---- Gradients ------------------------------------------------------------------

void GdiGradient(benchmark::State& state, DWORD mode) {
  Canvas c(Width(state), Height(state));
  TRIVERTEX v[2];
  v[0].Red = 0x1000;
  v[0].Green = 0x8000;
  v[0].Blue = 0xFF00;
  v[1].x = c.width;
  v[1].y = c.height;
  v[1].Red = 0xFF00;
  v[1].Green = 0x2000;
  v[1].Blue = 0x0000;
  const GRADIENT_RECT r{0, 1};
  for (auto _ : state) {
    GradientFill(c.dc, v, 2, &r, 1, mode);
    benchmark::DoNotOptimize(c.Bits()[0]);
  }
  Report(state, c.width, c.height);
}

void BM_Gdi_GradientH(benchmark::State& state) {
  GdiGradient(state, GRADIENT_FILL_RECT_H);
}
void BM_Gdi_GradientV(benchmark::State& state) {
  GdiGradient(state, GRADIENT_FILL_RECT_V);
}

void PixmanGradient(benchmark::State& state, bool vertical) {
  Canvas c(Width(state), Height(state));
  const pixman_point_fixed_t p1{0, 0};
  const pixman_point_fixed_t p2{vertical ? 0 : pixman_int_to_fixed(c.width),
                                vertical ? pixman_int_to_fixed(c.height) : 0};
  const pixman_gradient_stop_t stops[2] = {
      {pixman_int_to_fixed(0), {0x1000, 0x8000, 0xFF00, 0xFFFF}},
      {pixman_int_to_fixed(1), {0xFF00, 0x2000, 0x0000, 0xFFFF}}};
  pixman_image_t* gradient = pixman_image_create_linear_gradient(&p1, &p2, stops, 2);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, c.image, 0, 0, 0, 0, 0, 0, c.width,
                             c.height);
    benchmark::DoNotOptimize(c.Bits()[0]);
  }
  pixman_image_unref(gradient);
  Report(state, c.width, c.height);
}

void BM_Pixman_GradientH(benchmark::State& state) {
  PixmanGradient(state, false);
}
void BM_Pixman_GradientV(benchmark::State& state) {
  PixmanGradient(state, true);
}

// ---- Copy -------------------------------------------------------------------------

void BM_Gdi_BitBltSrcCopy(benchmark::State& state) {
  Canvas src(Width(state), Height(state)), dst(Width(state), Height(state));
  for (auto _ : state) {
    BitBlt(dst.dc, 0, 0, dst.width, dst.height, src.dc, 0, 0, SRCCOPY);
    benchmark::DoNotOptimize(dst.Bits()[0]);
  }
  Report(state, dst.width, dst.height);
}

void BM_Pixman_CompositeSrc(benchmark::State& state) {
  Canvas src(Width(state), Height(state)), dst(Width(state), Height(state));
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0,
                             dst.width, dst.height);
    benchmark::DoNotOptimize(dst.Bits()[0]);
  }
  Report(state, dst.width, dst.height);
}

void BM_Pixman_Blt(benchmark::State& state) {
  Canvas src(Width(state), Height(state)), dst(Width(state), Height(state));
  for (auto _ : state) {
    pixman_blt(src.Bits(), dst.Bits(), src.width, dst.width, 32, 32, 0, 0, 0, 0, dst.width,
               dst.height);
    benchmark::DoNotOptimize(dst.Bits()[0]);
  }
  Report(state, dst.width, dst.height);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({1280, 800})->Args({64, 64});
}

BENCHMARK(BM_Gdi_FillRect)->Apply(Sizes);
BENCHMARK(BM_Pixman_FillRectangles)->Apply(Sizes);
BENCHMARK(BM_Pixman_Fill)->Apply(Sizes);
BENCHMARK(BM_Gdi_FillRectInset)->Apply(Sizes);
BENCHMARK(BM_Pixman_FillInset)->Apply(Sizes);
BENCHMARK(BM_Gdi_GradientH)->Apply(Sizes);
BENCHMARK(BM_Pixman_GradientH)->Apply(Sizes);
BENCHMARK(BM_Gdi_GradientV)->Apply(Sizes);
BENCHMARK(BM_Pixman_GradientV)->Apply(Sizes);
BENCHMARK(BM_Gdi_BitBltSrcCopy)->Apply(Sizes);
BENCHMARK(BM_Pixman_CompositeSrc)->Apply(Sizes);
BENCHMARK(BM_Pixman_Blt)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
