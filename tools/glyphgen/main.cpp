// glyphgen: draws the program's glyph strips from their vector descriptions.
//
//   glyphgen <bitmap folder> [<sheet folder>]
//
// Writes STANDARTBTN_16.bmp, STANDARTBTN_24.bmp, STANDARTBTN_32.bmp,
// MAINFORM_CUSTOM_24.bmp and COLORMAP_GLYPHS_16.bmp into the bitmap folder.
// With a sheet folder it also writes contact sheets there: glyphs.png with
// all 42 glyphs of the main window's list at 10 to 32 pixels, and
// glyphs-x2-a.png / glyphs-x2-b.png with each half magnified twice, and each
// strip's cells magnified, six to a picture (strip16-a.png, ...).
// Exits with 0 on success and 1 with a message on standard error otherwise.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>

#include <fontconfig/fontconfig.h>

#include "tools/glyphgen/Strip.h"

namespace fs = std::filesystem;
using namespace glyphgen;

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "glyphgen: %s\n", message.c_str());
  return 1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) return Fail("usage: glyphgen <bitmap folder> [<sheet folder>]");
  const fs::path out = argv[1];
  if (!fs::is_directory(out)) return Fail("no folder \"" + out.string() + "\"");

  const Image s16 = RenderStrip(StandardGlyphs(), 16);
  const Image s24 = RenderStrip(StandardGlyphs(), 24);
  const Image s32 = RenderStrip(StandardGlyphs(), 32);
  const Image window24 = RenderStrip(WindowGlyphs(), 24);
  const Image colourMap16 = RenderStrip(ColourMapGlyphs(), 16);

  std::string error;
  const std::pair<const char*, const Image*> files[] = {{"STANDARTBTN_16.bmp", &s16},
                                                        {"STANDARTBTN_24.bmp", &s24},
                                                        {"STANDARTBTN_32.bmp", &s32},
                                                        {"MAINFORM_CUSTOM_24.bmp", &window24},
                                                        {"COLORMAP_GLYPHS_16.bmp", &colourMap16}};
  for (const auto& [name, image] : files)
    if (!WriteBmp(*image, out / name, error)) return Fail(error);

  if (argc == 3) {
    const fs::path sheets = argv[2];
    std::error_code ec;
    fs::create_directories(sheets, ec);
    const SheetSources src{s16, s24, s32, window24, colourMap16};
    const int total = s16.width / 16 + window24.width / 24;
    if (!WriteContactSheet(src, 0, total, 1, sheets / "glyphs.png", error) ||
        !WriteContactSheet(src, 0, total / 2, 2, sheets / "glyphs-x2-a.png", error) ||
        !WriteContactSheet(src, total / 2, total - total / 2, 2, sheets / "glyphs-x2-b.png", error))
      return Fail(error);
    const std::tuple<const char*, const Image*, int> strips[] = {{"strip16", &s16, 16},
                                                                 {"strip24", &s24, 24},
                                                                 {"strip32", &s32, 32},
                                                                 {"window24", &window24, 24},
                                                                 {"map16", &colourMap16, 16}};
    for (const auto& [name, image, cell] : strips) {
      const int cells = image->width / cell, zoom = 160 / cell;
      for (int first = 0, part = 0; first < cells; first += 6, ++part) {
        const std::string file = std::string(name) + "-" + char('a' + part) + ".png";
        if (!WriteMagnified(*image, cell, first, std::min(6, cells - first), zoom, sheets / file,
                            error))
          return Fail(error);
      }
    }
  }
  // The sheet labels went through fontconfig; empty its caches and cairo's so
  // that a leak checker sees only real leaks.
  cairo_debug_reset_static_data();
  FcFini();
  return 0;
}
