#pragma once
// Small drawing routines shared by the controls: a two-colour gradient,
// check marks, filled arrows and double chevrons, all drawn on a canvas with
// its current pen.

#include "framework/graphics/Canvas.h"

namespace zel {
class TBitmap;
}

namespace zel {

enum TGradientDirection { gdHorizontal, gdVertical };
// The directions of arrows and chevrons, in the order glyph kinds count them.
enum TScrollDirection { sdLeft, sdRight, sdUp, sdDown };

// Fills r with a gradient from startColor (left or top edge) to endColor
// (right or bottom edge); system colours are resolved first.
void GradientFillCanvas(TCanvas* canvas, TColor startColor, TColor endColor, const sys::RECT& r,
                        TGradientDirection direction);

// A 1-pixel check mark in the pen colour through (x, y), (x + a, y + a),
// (x + 3a, y - a), (x + 3a, y - a - 1), (x + a, y + a - 1), (x - 1, y - 2).
// With shadow the mark is first drawn one pixel down and right in the
// button highlight colour, so it reads as engraved.
void DrawCheck(TCanvas* canvas, sys::POINT location, int size, bool shadow = true);

// A filled triangle in the pen colour: the unit triangle of the direction
// (up (0,1)(1,0)(2,1), down (0,0)(1,1)(2,0), left (1,0)(0,1)(1,2), right
// (0,0)(1,1)(0,2)) scaled by size and moved to location.  The brush is left
// as it was.
void DrawArrow(TCanvas* canvas, TScrollDirection direction, sys::POINT location, int size);

// A double chevron in the pen colour pointing in the direction: two pairs of
// adjacent strokes, the pairs 3 pixels apart, each stroke reaching size
// pixels from the tip.  The chevron fills a box of 2 * size + 1 across the
// direction and size + 5 along it, with its top-left corner at location.
void DrawChevron(TCanvas* canvas, TScrollDirection direction, sys::POINT location, int size);

// Scales source by factor into dest: both become 24-bit, dest gets the
// nearest whole sizes of source's times factor, and the pixels are averaged
// when shrinking and interpolated when enlarging.  A factor that is not
// positive, or an empty source, leaves dest empty.
void ScaleImage(TBitmap* source, TBitmap* dest, double factor);

} // namespace zel
