// Motifs that several glyphs share (pages, windows, folders, arrows, lenses),
// so that the same object looks the same wherever it appears in the set.
#pragma once

#include "tools/glyphgen/GlyphCell.h"

namespace glyphgen {

// A sheet of paper with its top-right corner folded over by `fold` steps.
void Page(Cell& c, double x0, double y0, double x1, double y1, double fold);
// Grey lines of text inside the given span, spaced for the cell's size.
void TextLines(Cell& c, double x0, double y0, double x1, double y1);
// A window with a blue title bar.
void Window(Cell& c, double x0, double y0, double x1, double y1);
// A folder, closed or with its front flap opened forward.
void Folder(Cell& c, double x0, double y0, double x1, double y1, bool open);
// A diskette filling the given box.
void Diskette(Cell& c, double x0, double y0, double x1, double y1);
// A four-pointed yellow spark, the mark of something new.
void Spark(Cell& c, double cx, double cy, double r);
// A magnifying glass: lens centre and radius, handle towards the bottom right.
void Lens(Cell& c, double cx, double cy, double r, double handleEnd);
// A straight arrow pointing right from x0 to the tip x1 on row y, in design
// indices; shaft and head thicknesses are half-heights in pixels.
void Arrow(Cell& c, double x0, double x1, double y, int shaftHalf, int headHalf, const Fill& fill);
// A bent band ending in an arrow head, centred on (cx, cy) with outer and
// inner radius in pixels, from angle a0 to a1 (radians, clockwise).
void ArcArrow(Cell& c, double cx, double cy, double outer, double inner, double a0, double a1,
              double head, const Fill& fill);
// Pixel art for the places where a 16 pixel glyph is best set by hand: one
// string per row, '.' leaves the pixel alone, 'k' ink, 'w' paper, 'y'/'Y'
// light and base yellow, 'b'/'B' light and base blue, 'g'/'G' light and base
// green, 'r'/'R' light and base red, 'a'/'A'/'d' light, base and
// dark grey.
void PixelArt(Cell& c, int x, int y, std::initializer_list<const char*> rows);
// A regular star of `points` points.
void Star(Cell& c, double cx, double cy, double outer, double inner, int points, const Fill& fill);

} // namespace glyphgen
