// A full rebuild of the main window's image list (36 strip glyphs and six
// CustomImg images) at every glyph size the program offers (10 to 32), and
// beside it, as the peer, pixman scaling the same 42 cells with its own box
// filter, so the cost of the list's work can be read against a plain scaling
// library.  The ratio of each size to pixman's is printed after the table.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <vector>

#include "bench/PixmanRatio.h"
#include "framework/graphics/Bitmap.h"
#include "imagelist/ImageListZel.h"
#include "platform/user/WindowSystem.h"

namespace {

using namespace zel;

void SetUpMainList(TImageListZel& list, int size) {
  list.BeginUpdate();
  list.SetSize(size, size);
  TResourceName* item = list.ResourceNames()->Add();
  item->SetName("STANDARTBTN");
  item->SetGliphCount(36);
  TBitmap custom;
  custom.LoadFromResourceName(nullptr, "MAINFORM_CUSTOM_24");
  list.CustomImg()->SetSize(24, 24);
  list.CustomImg()->AddMasked(&custom, TColor(0xFF00FF));
  list.EndUpdate();
}

void BM_RebuildImages(benchmark::State& state) {
  sys::ResetWindowSystem();
  InitializeImageListZel();
  {
    TImageListZel list(nullptr);
    SetUpMainList(list, int(state.range(0)));
    for (auto _ : state) {
      list.RebuildImages();
      benchmark::DoNotOptimize(list.Count());
    }
    if (list.Count() != 42) state.SkipWithError("the list did not get its 42 images");
  }
  FinalizeImageListZel();
  sys::ResetWindowSystem();
}
BENCHMARK(BM_RebuildImages)->DenseRange(10, 32)->Unit(benchmark::kMicrosecond);

// The peer: 42 cells of the 32 strip (the last six taken again from its
// start, standing in for CustomImg's images) scaled by pixman with a box
// filter to the requested size.
void BM_PixmanScaleCells(benchmark::State& state) {
  const int size = int(state.range(0));
  TBitmap strip;
  strip.LoadFromResourceName(nullptr, "STANDARTBTN_32");
  strip.SetPixelFormat(pf32bit);
  sys::Surface& pixels = strip.Handle()->surface;
  pixman_image_t* source = pixman_image_create_bits(
      PIXMAN_x8r8g8b8, pixels.Width(), pixels.Height(),
      reinterpret_cast<uint32_t*>(pixels.Pixels().data()), pixels.Width() * 4);
  std::vector<uint32_t> target(size_t(size) * size_t(size));
  pixman_image_t* cell =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, size, size, target.data(), size * 4);
  pixman_transform_t transform;
  const double f = 32.0 / size;
  pixman_transform_init_scale(&transform, pixman_double_to_fixed(f), pixman_double_to_fixed(f));
  pixman_image_set_transform(source, &transform);
  int nparams = 0;
  pixman_fixed_t* params = pixman_filter_create_separable_convolution(
      &nparams, pixman_double_to_fixed(f), pixman_double_to_fixed(f), PIXMAN_KERNEL_BOX,
      PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 4);
  pixman_image_set_filter(source, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, nparams);
  for (auto _ : state) {
    for (int k = 0; k < 42; ++k) {
      const int col = k % 36;
      pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, cell, int(col * 32 / f), 0, 0, 0, 0,
                               0, size, size);
    }
    benchmark::DoNotOptimize(target.data());
  }
  free(params);
  pixman_image_unref(cell);
  pixman_image_unref(source);
}
BENCHMARK(BM_PixmanScaleCells)->DenseRange(10, 32)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
  return zel::bench::RunWithPixmanRatios(argc, argv, {{"BM_RebuildImages", "BM_PixmanScaleCells"}});
}
