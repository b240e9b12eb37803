// Glyph sets, their rendering into keyed strips and the files made of them.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "tools/glyphgen/GlyphCell.h"

namespace glyphgen {

// The transparent key of every strip: pixels of this colour are not glyph.
inline constexpr Rgb Key{255, 0, 255};

struct GlyphDef {
  const char* name;
  void (*draw)(Cell&);
};

// The 36 cells of the main window's strip, in image-index order.
std::span<const GlyphDef> StandardGlyphs();
// The six window-menu glyphs that follow the strip in the main window's list.
std::span<const GlyphDef> WindowGlyphs();
// The six glyphs of the colour-map editor's own list.
std::span<const GlyphDef> ColourMapGlyphs();

// An opaque picture; in a keyed picture every pixel is either glyph or Key.
struct Image {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
  Image() = default;
  Image(int w, int h, Rgb fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
  Rgb& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  const Rgb& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Draws the glyphs side by side in square cells of the given size.  Each cell
// is drawn with smooth edges inside the glyph, but its silhouette is cut at
// half coverage, so the result holds no pixel blended with the key.
Image RenderStrip(std::span<const GlyphDef> glyphs, int size);

// Writes a 24-bit uncompressed bottom-up BMP.  Returns false with a message on
// failure; the target is replaced only by a complete file.
bool WriteBmp(const Image& image, const std::filesystem::path& path, std::string& error);

// Pixels with coverage: the key becomes transparent.
struct Rgba {
  double r = 0, g = 0, b = 0, a = 0; // premultiplied, 0..1
};
using Coverage = std::vector<Rgba>;

// Cuts cell `index` out of a keyed strip of square cells and scales it to
// `size` (area averaging when shrinking, bilinear when enlarging).
Coverage ScaledCell(const Image& strip, int cellSize, int index, int size);

// Draws the contact sheet of the main window's 42 glyphs at 10 to 32 pixels,
// and the colour-map glyphs, onto light grey; `zoom` magnifies every pixel.
struct SheetSources {
  const Image &s16, &s24, &s32, &window24, &colourMap16;
};
// Shows `count` glyphs of the list from index `first`.
bool WriteContactSheet(const SheetSources& sources, int first, int count, int zoom,
                       const std::filesystem::path& path, std::string& error);

// Shows `count` cells of a strip from `first` at their own size, every pixel
// magnified `zoom` times, for judging the pixel work.
bool WriteMagnified(const Image& strip, int cellSize, int first, int count, int zoom,
                    const std::filesystem::path& path, std::string& error);

} // namespace glyphgen
