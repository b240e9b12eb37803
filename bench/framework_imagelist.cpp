// Drawing a glyph of an image list (a 24 x 24 cell with a mask) onto a
// bitmap's canvas, beside pixman compositing the same glyph, kept as
// a8r8g8b8 with alpha 0 where the mask is transparent, onto the same pixels.
// The list's figure includes what each call of Draw costs in the framework:
// the memory context it draws from and the colour-keyed copy.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"

namespace {

using namespace zel;

constexpr int kCell = 24;
constexpr int kCells = 36;

struct Fixture {
  Fixture() : list(kCell, kCell, nullptr), target(256, 256, pf32bit) {
    TBitmap strip;
    strip.LoadFromResourceName(nullptr, "STANDARTBTN_24");
    strip.SetPixelFormat(pf32bit);
    list.AddMasked(&strip, 0xFF00FF);
    target.Canvas()->Brush()->SetColor(clBtnFace);
    target.Canvas()->FillRect(sys::RECT{0, 0, 256, 256});
    // The same cells for pixman: transparent pixels get alpha 0, drawn ones 255.
    for (int i = 0; i < list.Count(); ++i) {
      std::vector<uint32_t> bits(size_t(kCell * kCell));
      const auto& pixels = *list.ImagePixels(i);
      const auto& mask = *list.ImageMask(i);
      for (size_t p = 0; p < bits.size(); ++p)
        bits[p] = mask[p] ? (pixels.Pixels()[p] | 0xFF000000u) : 0;
      glyphBits.push_back(std::move(bits));
    }
    for (auto& bits : glyphBits)
      glyphs.push_back(
          pixman_image_create_bits(PIXMAN_a8r8g8b8, kCell, kCell, bits.data(), kCell * 4));
    dest = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, 256, 256,
        reinterpret_cast<uint32_t*>(target.Handle()->surface.Pixels().data()), 256 * 4);
  }
  ~Fixture() {
    for (auto* g : glyphs)
      pixman_image_unref(g);
    pixman_image_unref(dest);
  }
  TImageList list;
  TBitmap target;
  std::vector<std::vector<uint32_t>> glyphBits;
  std::vector<pixman_image_t*> glyphs;
  pixman_image_t* dest = nullptr;
};

void Report(benchmark::State& state) {
  state.SetItemsProcessed(int64_t(state.iterations()));
  state.counters["glyphs/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ImageListDraw(benchmark::State& state) {
  Fixture f;
  TCanvas* canvas = f.target.Canvas();
  int i = 0;
  for (auto _ : state) {
    f.list.Draw(canvas, (i * 7) % 232, (i * 13) % 232, i % kCells);
    ++i;
  }
  Report(state);
}
BENCHMARK(BM_ImageListDraw);

void BM_ImageListDrawDisabled(benchmark::State& state) {
  Fixture f;
  TCanvas* canvas = f.target.Canvas();
  int i = 0;
  for (auto _ : state) {
    f.list.Draw(canvas, (i * 7) % 232, (i * 13) % 232, i % kCells, false);
    ++i;
  }
  Report(state);
}
BENCHMARK(BM_ImageListDrawDisabled);

void BM_PixmanGlyphOver(benchmark::State& state) {
  Fixture f;
  int i = 0;
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, f.glyphs[size_t(i % kCells)], nullptr, f.dest, 0, 0, 0,
                             0, (i * 7) % 232, (i * 13) % 232, kCell, kCell);
    ++i;
  }
  Report(state);
}
BENCHMARK(BM_PixmanGlyphOver);

} // namespace

BENCHMARK_MAIN();
