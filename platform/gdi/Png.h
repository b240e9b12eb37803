#pragma once
// PNG files for screenshots and reference pictures, through libpng.

#include <string>

#include "platform/gdi/Surface.h"

namespace zel::sys {

// Writes the surface as an RGBA PNG (alpha kept when keepAlpha, else opaque).
// Returns false with nothing written when the file cannot be made.
bool WritePng(const Surface& surface, const std::string& path, bool keepAlpha = false);
// Reads a PNG of any colour type into a surface; false for a missing or
// damaged file, leaving the surface as it was.
bool ReadPng(const std::string& path, Surface& surface);

} // namespace zel::sys
