#pragma once
// The pixel end of the text layer: blends glyph coverage into a context's
// target in the text colour and fills backgrounds and lines, clipped to the
// context's effective clip (and, when given, one more rectangle).  Pixels
// written by text get alpha 0, like every other ordinary drawing call.

#include <span>
#include <string_view>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/text/FontFace.h"

namespace zel::sys {

// Blends a colour over a pixel with coverage a (0-255): every channel
// becomes (src * a + dst * (255 - a)) / 255, rounded, and the alpha byte 0.
// The colour comes split as srcRB = red << 16 | blue and srcG = green, so
// that red and blue share one 32-bit multiply (each product fits its 16-bit
// lane); green goes alone.
inline Pixel BlendCoverage(Pixel dst, uint32_t srcRB, uint32_t srcG, uint32_t a) {
  const uint32_t na = 255 - a;
  uint32_t rb = srcRB * a + (dst & 0xFF00FF) * na + 0x800080;
  rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
  uint32_t g = srcG * a + ((dst >> 8) & 0xFF) * na + 128;
  g = (g + (g >> 8)) >> 8;
  return rb | (g << 8);
}

class TextPainter {
public:
  // logicalClip, when given, limits drawing further (logical coordinates).
  TextPainter(HDC dc, const RECT* logicalClip);

  bool NothingVisible() const { return clip_.empty(); }

  // Fills the cell rectangle [x0, x1) x [y0, y1), given along and across the
  // text direction relative to the logical anchor, turned by the face's
  // escapement.  Quarter turns fill whole pixels; other angles antialias.
  void FillCell(const FontFace& face, POINT anchor, int x0, int y0, int x1, int y1, COLORREF color);

  // Fills an upright rectangle given in logical coordinates.
  void FillLogicalRect(const RECT& r, COLORREF color);

  // Blends a glyph whose pen origin is at the logical point origin.
  void DrawGlyph(const Glyph& glyph, POINT origin, COLORREF color);

private:
  void FillTargetRect(RECT r, Pixel pixel);
  void BlendMask(int x, int y, int width, int height, const uint8_t* coverage, int pitch,
                 COLORREF color);
  void FillQuad(const double (&xs)[4], const double (&ys)[4], COLORREF color);

  HDC dc_;
  Surface* target_;
  std::vector<RECT> clip_; // target coordinates
};

// Coordinates further out than this are refused, so that no position
// arithmetic can overflow; nothing that far away could be visible.
constexpr int kFarCoordinate = 1 << 28;
inline bool Reasonable(int v) {
  return v > -kFarCoordinate && v < kFarCoordinate;
}
// Adds a non-negative advance to a width, stopping at kFarCoordinate so
// that even absurdly long texts cannot overflow.
inline int AddWidth(int width, int advance) {
  const long long sum = (long long)width + advance;
  return sum < kFarCoordinate ? int(sum) : kFarCoordinate;
}

// Pixel advances of a run, one per code point, as measured and drawn.
std::vector<int> RunAdvances(FontFace& face, std::u32string_view text);

struct RunOptions {
  // The index of the character that gets an accelerator underline, or -1.
  int prefixIndex = -1;
  // Characters that only move the pen (expanded tabs) are drawn as nothing.
  bool skipTabs = false;
  // Fill the cell with the background colour first (OPAQUE mode).
  bool opaque = false;
};

// Draws a run with its top-left cell corner at the logical point (x, y);
// advances give the pen steps (one per character).
void DrawRun(TextPainter& painter, HDC dc, FontFace& face, int x, int y, std::u32string_view text,
             std::span<const int> advances, const RunOptions& options);

} // namespace zel::sys

namespace zel::sys {

// The face of the font selected into dc (resolved on first use), or the
// default face when none is; nullptr when no font can be found at all.
FontFace* SelectedFace(HDC dc);

} // namespace zel::sys
