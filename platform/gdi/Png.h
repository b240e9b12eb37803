#pragma once
// PNG files for screenshots and reference pictures, through libpng.

#include <string>

#include "platform/gdi/Surface.h"

namespace zel::sys {

// Writes the surface as an RGBA PNG (alpha kept when keepAlpha, else opaque).
// Returns false with nothing written when the file cannot be made.
bool WritePng(const Surface& surface, const std::string& path, bool keepAlpha = false);
// Reads a PNG of any colour type and depth into a surface (8-bit BGRA in
// the sRGB encoding); false for a missing or damaged file, leaving the
// surface as it was.  Damaged means also: a side over 32768, a chunk that
// runs past the end of the file, no IEND, or less compressed data than the
// size the file claims could come from.  Such a file is refused before
// memory is spent on its claim, and a picture's rows take memory only as
// they decode; only an interlaced picture needs its whole size at once.
// Text, profiles and other chunks that do not change the colours are
// passed over unread.
bool ReadPng(const std::string& path, Surface& surface);

} // namespace zel::sys
