#pragma once
// Writes what a test drew as a PNG under the build folder, so a person can
// look at it; small pictures are enlarged pixel by pixel.

#include <filesystem>
#include <string>

#include "platform/gdi/Png.h"

namespace zel::testing {

inline void SavePicture(const sys::Surface& surface, const std::string& name, int zoom = 1) {
  const std::filesystem::path dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (zoom < 1) zoom = 1;
  sys::Surface big(surface.Width() * zoom, surface.Height() * zoom);
  for (int y = 0; y < big.Height(); ++y)
    for (int x = 0; x < big.Width(); ++x)
      big.At(x, y) = surface.At(x / zoom, y / zoom);
  sys::WritePng(big, (dir / (name + ".png")).string());
}

} // namespace zel::testing
