// The window-menu glyphs that follow the strip in the main window's list, and
// the colour-map editor's own glyphs.

#include <cmath>

#include "tools/glyphgen/Shapes.h"
#include "tools/glyphgen/Strip.h"

namespace glyphgen {
namespace {

// --- window menu (24 pixels) ----------------------------------------------

void Cascade(Cell& c) {
  Window(c, 0, 0, 9, 7.5);
  Window(c, 3, 3.5, 12, 11);
  Window(c, 6, 7, 15, 14.5);
}

void TileHorizontally(Cell& c) {
  Window(c, 0.5, 0.5, 14.5, 7);
  Window(c, 0.5, 8, 14.5, 14.5);
}

void TileVertically(Cell& c) {
  Window(c, 0.5, 0.5, 7, 14.5);
  Window(c, 8, 0.5, 14.5, 14.5);
}

void MinimiseAll(Cell& c) {
  Window(c, 2, 0, 13, 7);
  // Down into the task bar, whose buttons hold the minimised windows.
  c.rotate(1);
  Arrow(c, 7, 12, 7.5, 1, 4, fills::Green());
  cairo_identity_matrix(c.cr());
  c.box(0.5, 12, 14.5, 14.5, fills::Grey());
  c.span(2, 13.5, 6.5, 13.5, pal::Blue);
  c.span(8.5, 13.5, 13, 13.5, pal::Blue);
}

void SingleWindow(Cell& c) {
  Window(c, 0.5, 1, 14.5, 14);
}

void Customize(Cell& c) {
  // A tool bar with its drop-down opened on a list of checked entries.
  c.box(0, 1, 15, 6, fills::Grey());
  c.box(1.5, 2.5, 3.5, 4.5, fills::Blue());
  c.box(5, 2.5, 7, 4.5, fills::Green());
  c.box(8.5, 2.5, 10.5, 4.5, fills::Red());
  PixelArt(c, 18, 5, {"kkkkk", ".kkk.", "..k.."});
  c.box(5, 6, 15, 15, fills::Paper());
  for (int row = 0; row < 3; ++row) {
    const int y = 12 + row * 4;
    PixelArt(c, 9, y - 2, {"...G", "G.GG", "GGG.", ".G.."});
    c.pixels(14, y, 20, y, pal::TextLine);
  }
}

// --- colour-map editor (16 pixels) ----------------------------------------

void RadioDot(Cell& c, bool on) {
  c.circle(7.5, 7.5, 6, fills::Paper());
  if (on) c.circle(7.5, 7.5, 2.5, Fill(pal::BlueLight, pal::BlueDark));
}

void RadioOn(Cell& c) {
  RadioDot(c, true);
}
void RadioOff(Cell& c) {
  RadioDot(c, false);
}

void CheckBox(Cell& c, bool on) {
  c.box(2, 2, 13, 13, fills::Paper());
  if (on)
    PixelArt(c, 4, 4,
             {".......GG", "......GGG", "G....GGG.", "GG..GGG..", "GGGGGG...", ".GGGG....",
              "..GG....."});
}

void CheckOn(Cell& c) {
  CheckBox(c, true);
}
void CheckOff(Cell& c) {
  CheckBox(c, false);
}

void Style(Cell& c) {
  // A painter's palette with its thumb hole and four dabs of paint.
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_translate(cr, 8, 8);
  cairo_scale(cr, 1, 0.8);
  cairo_arc(cr, 0, 0, 7.5, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 5.5, 10, 1.6, 0, 2 * M_PI);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  c.shape(fills::Brown());
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  c.pixels(4, 5, 5, 6, pal::Red);
  c.pixels(7, 3, 8, 4, pal::Yellow);
  c.pixels(10, 4, 11, 5, pal::Blue);
  c.pixels(11, 8, 12, 9, pal::Green);
}

void DefaultColour(Cell& c) {
  // A colour swatch with the turning-back arrow of "undo" over its corner.
  c.box(1, 5, 10, 14, Fill(pal::RedLight, pal::Red));
  PixelArt(c, 6, 0,
           {"..k......", ".kbkkkk..", "kbbbbbbk.", ".kbkkkbbk", "..k...kbk", "......kbk",
            "....kkbBk", "....kBBk.", "....kkk.."});
}

const GlyphDef kWindow[] = {
    {"cascade", Cascade},
    {"tile horizontally", TileHorizontally},
    {"tile vertically", TileVertically},
    {"minimise all", MinimiseAll},
    {"window", SingleWindow},
    {"customize", Customize},
};

const GlyphDef kColourMap[] = {
    {"radio on", RadioOn},       {"radio off", RadioOff}, {"check box on", CheckOn},
    {"check box off", CheckOff}, {"style", Style},        {"default colour", DefaultColour},
};

} // namespace

std::span<const GlyphDef> WindowGlyphs() {
  return kWindow;
}
std::span<const GlyphDef> ColourMapGlyphs() {
  return kColourMap;
}

} // namespace glyphgen
