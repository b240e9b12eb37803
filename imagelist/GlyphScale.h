#pragma once
// Scaling of glyph cells that have transparent pixels.  The cell is scaled as
// a picture on the list's background colour: a target pixel that a glyph
// covers only in part takes the glyph's colours over the background in
// proportion to the part covered, so thin strokes stay visible as lighter
// strokes instead of vanishing or swelling.  Only a target pixel that no
// drawn source pixel touches stays undrawn, and the transparent colour of
// the strip never enters a colour.
//
// Shrinking averages over the covered area, with the edges that many lines
// of the glyph share (bars, the gaps between them, a light mark on a dark
// ground) put on whole pixels where they round to distinct ones, so that
// parallel strokes keep the gaps between them open instead of melting into
// one grey block.  Enlarging interpolates between the four nearest pixels.
//
// The weights of both axes are worked out once per cell and target size
// and kept (bounded) by the cell's pixels, so rebuilding at a size seen
// before fits nothing again.  The sums are single-precision floats added
// in a fixed order, four channels at a time, so a cell always gives the
// same pixels.

#include "platform/gdi/Surface.h"

namespace zel::glyphscale {

// The alpha byte of a cell pixel tells whether it is drawn (255) or not (0).
constexpr sys::Pixel kDrawn = 0xFF000000u;

// Scales src (alpha as above) to width x height into dst, which is resized.
// A drawn target pixel is the covered part of the glyph over background
// (0x00RRGGBB); a pixel with no coverage at all is 0 (undrawn).
void ScaleCell(const sys::Surface& src, sys::Surface& dst, int width, int height,
               sys::Pixel background);

} // namespace zel::glyphscale
