// PNG files through libpng's simplified interface, which reads any colour
// type and bit depth into 8-bit BGRA and reports damage as an error instead
// of jumping out of the caller.

#include "platform/gdi/Png.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace zel::sys {

bool WritePng(const Surface& surface, const std::string& path, bool keepAlpha) {
  if (surface.Empty()) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(surface.Width());
  image.height = png_uint_32(surface.Height());
  image.format = PNG_FORMAT_BGRA;
  std::vector<Pixel> pixels(surface.Pixels().begin(), surface.Pixels().end());
  if (!keepAlpha)
    for (Pixel& p : pixels)
      p |= 0xFF000000u; // drawing leaves alpha 0: show it opaque
  // libpng writes a partial file on failure; write to a temporary and rename
  // so that an existing picture is never replaced by a broken one.
  const std::string temp = path + ".part";
  const int ok = png_image_write_to_file(&image, temp.c_str(), 0, pixels.data(),
                                         png_int_32(surface.Width() * 4), nullptr);
  if (!ok) {
    std::remove(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, Surface& surface) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;
  const int w = int(image.width), h = int(image.height);
  if (w <= 0 || h <= 0 || w > 1 << 15 || h > 1 << 15) {
    png_image_free(&image);
    return false;
  }
  Surface result(w, h);
  if (!png_image_finish_read(&image, nullptr, result.Pixels().data(), png_int_32(w * 4), nullptr)) {
    png_image_free(&image);
    return false;
  }
  surface = std::move(result);
  return true;
}

} // namespace zel::sys
