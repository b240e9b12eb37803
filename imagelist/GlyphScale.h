#pragma once
// Scaling of glyph cells that have transparent pixels.  A plain filter
// averages a glyph's edge with whatever lies under its transparent pixels, and
// the blend no longer matches the transparent colour, so a fringe of that
// colour stays around every scaled glyph.  Here the transparent pixels take
// no part in the colours: each target pixel is the average of the drawn
// source pixels it covers, and it is drawn only when at least half of it is
// covered, so the edge stays sharp and free of fringes.

#include "platform/gdi/Surface.h"

namespace zel::glyphscale {

// The alpha byte of a cell pixel tells whether it is drawn (255) or not (0).
constexpr sys::Pixel kDrawn = 0xFF000000u;

// Scales src (alpha as above) to width x height into dst, which is resized.
// Shrinking averages over the covered area, enlarging interpolates between
// the four nearest pixels; in both only drawn pixels contribute colour.
void ScaleCell(const sys::Surface& src, sys::Surface& dst, int width, int height);

} // namespace zel::glyphscale
