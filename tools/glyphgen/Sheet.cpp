// The contact sheet: every glyph of the main window's list at the sizes the
// list is used at, so the set can be judged as a whole the way a person sees
// it on the tool bars.

#include <cairo.h>

#include <memory>
#include <string>

#include "tools/glyphgen/Strip.h"

namespace glyphgen {
namespace {

constexpr Rgb kBackground{236, 236, 236};
constexpr int kPitch = 38;      // horizontal distance of glyph cells
constexpr int kRowHeight = 40;  // vertical distance of size rows
constexpr int kLabelWidth = 40; // room for the size at the left
constexpr int kRowSizes[] = {10, 16, 20, 24, 28, 32};

// The strip a list of the given size would draw from, the way the list picks
// it: the nearest strip, the larger one on a tie.
const Image& NearestStrip(int size, const Image& s16, const Image& s24, const Image& s32,
                          int& cellSize) {
  cellSize = size <= 16 ? 16 : size <= 24 ? 24 : 32;
  return cellSize == 16 ? s16 : cellSize == 24 ? s24 : s32;
}

void Paint(cairo_t* cr, const Coverage& cov, int size, double x, double y, int zoom) {
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      const Rgba& p = cov[std::size_t(py) * size + px];
      const double r = p.r + kBackground.r / 255.0 * (1 - p.a);
      const double g = p.g + kBackground.g / 255.0 * (1 - p.a);
      const double b = p.b + kBackground.b / 255.0 * (1 - p.a);
      cairo_set_source_rgb(cr, r, g, b);
      cairo_rectangle(cr, x + px * zoom, y + py * zoom, zoom, zoom);
      cairo_fill(cr);
    }
}

void Label(cairo_t* cr, const std::string& text, double x, double y, int zoom) {
  cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11 * zoom);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}

} // namespace

bool WriteContactSheet(const SheetSources& src, int first, int count, int zoom,
                       const std::filesystem::path& path, std::string& error) {
  const Image &s16 = src.s16, &s24 = src.s24, &s32 = src.s32, &window24 = src.window24,
              &colourMap16 = src.colourMap16;
  const int glyphs = count;
  const int stripCells = s16.width / 16;
  const int rows = int(std::size(kRowSizes)) + 1;
  const int width = (kLabelWidth + glyphs * kPitch + 20) * zoom;
  const int height = (rows * kRowHeight + 24) * zoom;
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy);
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(cr.get(), kBackground.r / 255.0, kBackground.g / 255.0,
                       kBackground.b / 255.0);
  cairo_paint(cr.get());

  // Index ruler along the top, every sixth glyph.
  for (int i = 0; i < glyphs; ++i)
    if ((first + i) % 6 == 0)
      Label(cr.get(), std::to_string(first + i),
            (kLabelWidth + i * kPitch + (first + i >= stripCells ? 10 : 0)) * zoom, 14 * zoom,
            zoom);

  for (int row = 0; row < int(std::size(kRowSizes)); ++row) {
    const int size = kRowSizes[row];
    const double top = (24 + row * kRowHeight + (32 - size) / 2) * zoom;
    Label(cr.get(), std::to_string(size), 4 * zoom, top + size * zoom * 0.75, zoom);
    int cellSize = 0;
    const Image& strip = NearestStrip(size, s16, s24, s32, cellSize);
    for (int n = 0; n < glyphs; ++n) {
      const int i = first + n;
      const bool custom = i >= stripCells;
      const double left = (kLabelWidth + n * kPitch + (custom ? 10 : 0) + (32 - size) / 2) * zoom;
      const Coverage cov = custom ? ScaledCell(window24, 24, i - stripCells, size)
                                  : ScaledCell(strip, cellSize, i, size);
      Paint(cr.get(), cov, size, left, top, zoom);
    }
  }
  // The colour-map editor's own glyphs, at their one size.
  const double top = (24 + int(std::size(kRowSizes)) * kRowHeight + 8) * zoom;
  Label(cr.get(), "map", 4 * zoom, top + 12 * zoom, zoom);
  for (int i = 0; i < colourMap16.width / 16; ++i)
    Paint(cr.get(), ScaledCell(colourMap16, 16, i, 16), 16, (kLabelWidth + i * kPitch + 8) * zoom,
          top, zoom);

  cairo_surface_flush(surface.get());
  if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
    error = "cannot write \"" + path.string() + "\"";
    return false;
  }
  return true;
}

} // namespace glyphgen

namespace glyphgen {

bool WriteMagnified(const Image& strip, int cellSize, int first, int count, int zoom,
                    const std::filesystem::path& path, std::string& error) {
  const int gap = 4;
  const int width = count * (cellSize * zoom + gap) + gap, height = cellSize * zoom + 2 * gap;
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy);
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(cr.get(), 0.55, 0.55, 0.6);
  cairo_paint(cr.get());
  for (int n = 0; n < count; ++n) {
    const Coverage cov = ScaledCell(strip, cellSize, first + n, cellSize);
    Paint(cr.get(), cov, cellSize, gap + n * (cellSize * zoom + gap), gap, zoom);
  }
  cairo_surface_flush(surface.get());
  if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
    error = "cannot write \"" + path.string() + "\"";
    return false;
  }
  return true;
}

} // namespace glyphgen
