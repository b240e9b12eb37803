// Text drawing speed: a Cyrillic caption drawn with DrawText into a 32-bit
// memory bitmap, the same caption only measured (DT_CALCRECT), and, for
// scale, pixman blending a prepared coverage mask of the same caption.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/text/FontFace.h"
#include "platform/text/Text.h"
#include "platform/text/Utf8.h"

namespace {

using namespace zel::sys;

const std::string kCaption = "Настройка внешнего вида";

// A memory context drawing into a 32-bit bitmap with the UI font selected.
struct TextTarget {
  TextTarget() {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateBitmap(256, 32, 32);
    oldBitmap = SelectObject(dc, bitmap);
    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfFaceName = "Tahoma";
    font = CreateFontIndirect(lf);
    oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~TextTarget() {
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HFONT font = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  HGDIOBJ oldFont = nullptr;
};

void Report(benchmark::State& state) {
  state.SetItemsProcessed(int64_t(state.iterations()));
  const double chars = double(DecodeUtf8(kCaption).size());
  state.counters["chars/s"] =
      benchmark::Counter(chars * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DrawTextCyrillic(benchmark::State& state) {
  TextTarget t;
  for (auto _ : state) {
    RECT r{4, 4, 250, 28};
    benchmark::DoNotOptimize(DrawText(t.dc, kCaption, &r, DT_SINGLELINE | DT_VCENTER));
  }
  Report(state);
}
BENCHMARK(BM_DrawTextCyrillic);

void BM_DrawTextCyrillicMeasure(benchmark::State& state) {
  TextTarget t;
  for (auto _ : state) {
    RECT r{0, 0, 2000, 2000};
    benchmark::DoNotOptimize(DrawText(t.dc, kCaption, &r, DT_CALCRECT | DT_SINGLELINE));
    benchmark::DoNotOptimize(r);
  }
  Report(state);
}
BENCHMARK(BM_DrawTextCyrillicMeasure);

// For scale: pixman composites an a8 mask of the same caption (made once
// from the same glyphs) in a solid colour over the same kind of bitmap.
void BM_PixmanBlendCaptionMask(benchmark::State& state) {
  TextTarget t;
  LOGFONT lf;
  lf.lfHeight = -11;
  lf.lfFaceName = "Tahoma";
  auto face = FontFace::ForLogFont(lf);
  if (!face) {
    state.SkipWithError("no font installed");
    return;
  }
  const int width = 248, height = 24, stride = 248;
  std::vector<uint8_t> mask(size_t(stride) * height, 0);
  int pen = 0;
  for (char32_t c : DecodeUtf8(kCaption)) {
    const Glyph& g = face->GlyphFor(c);
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x) {
        const int px = pen + g.left + x, py = face->Metrics().tmAscent + g.top + y;
        if (px >= 0 && px < width && py >= 0 && py < height)
          mask[size_t(py) * stride + size_t(px)] = g.coverage[size_t(y) * g.width + size_t(x)];
      }
    pen += g.advance;
  }
  Surface& s = t.bitmap->surface;
  pixman_image_t* dst = pixman_image_create_bits(
      PIXMAN_x8r8g8b8, s.Width(), s.Height(), reinterpret_cast<uint32_t*>(s.Row(0)), s.Width() * 4);
  pixman_image_t* m = pixman_image_create_bits(PIXMAN_a8, width, height,
                                               reinterpret_cast<uint32_t*>(mask.data()), stride);
  pixman_color_t black{0, 0, 0, 0xFFFF};
  pixman_image_t* src = pixman_image_create_solid_fill(&black);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, m, dst, 0, 0, 0, 0, 4, 4, pen, height);
  }
  pixman_image_unref(src);
  pixman_image_unref(m);
  pixman_image_unref(dst);
  Report(state);
}
BENCHMARK(BM_PixmanBlendCaptionMask);

} // namespace

BENCHMARK_MAIN();
