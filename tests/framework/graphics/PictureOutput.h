#pragma once
// Writes what a test drew as a PNG under the build folder, so a person can
// look at it.

#include <filesystem>
#include <string>

#include "platform/gdi/Png.h"

namespace zel::testing {

inline void SavePicture(const sys::Surface& surface, const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  sys::WritePng(surface, (dir / (name + ".png")).string());
}

} // namespace zel::testing
