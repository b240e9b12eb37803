#include "tools/glyphgen/Strip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>

namespace glyphgen {
namespace {

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

// Coverage at or above this fraction makes a pixel part of the glyph.
constexpr int kSilhouetteAlpha = 128;

// Turns one premultiplied pixel into a keyed one: the colour is taken back to
// full strength so that a half-covered outline pixel is plain ink, never ink
// mixed with the background.
Rgb KeyedPixel(std::uint32_t argb) {
  const int a = int(argb >> 24);
  if (a < kSilhouetteAlpha) return Key;
  auto channel = [a](std::uint32_t v) {
    return static_cast<unsigned char>(std::min(255, int((v & 0xFF) * 255 + a / 2) / a));
  };
  Rgb c{channel(argb >> 16), channel(argb >> 8), channel(argb)};
  // A glyph colour that happened to equal the key would vanish: move it.
  if (c == Key) c.g = 1;
  return c;
}

void RenderCell(const GlyphDef& glyph, int size, Image& strip, int index) {
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size),
                     cairo_surface_destroy);
  ContextPtr cr(cairo_create(surface.get()), cairo_destroy);
  // At 16 pixels every edge is a staircase of whole pixels: smoothing there
  // only blurs.  Larger glyphs keep smooth curves inside their silhouette.
  if (size <= 16) cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
  Cell cell(cr.get(), size);
  glyph.draw(cell);
  cairo_surface_flush(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < size; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
    for (int x = 0; x < size; ++x)
      strip.at(index * size + x, y) = KeyedPixel(row[x]);
  }
}

void Put16(std::string& out, unsigned v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

Rgba Covered(const Rgb& c) {
  if (c == Key) return {};
  return {c.r / 255.0, c.g / 255.0, c.b / 255.0, 1.0};
}

} // namespace

Image RenderStrip(std::span<const GlyphDef> glyphs, int size) {
  Image strip(int(glyphs.size()) * size, size, Key);
  for (std::size_t i = 0; i < glyphs.size(); ++i)
    RenderCell(glyphs[i], size, strip, int(i));
  return strip;
}

bool WriteBmp(const Image& image, const std::filesystem::path& path, std::string& error) {
  const std::uint32_t rowBytes = (std::uint32_t(image.width) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * std::uint32_t(image.height);
  const std::uint32_t headerBytes = 14 + 40;
  std::string out;
  out.reserve(headerBytes + imageBytes);
  out += "BM";
  Put32(out, headerBytes + imageBytes);
  Put32(out, 0);
  Put32(out, headerBytes);
  Put32(out, 40);
  Put32(out, std::uint32_t(image.width));
  Put32(out, std::uint32_t(image.height)); // positive height: bottom-up rows
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0); // BI_RGB
  Put32(out, imageBytes);
  Put32(out, 2835); // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& c = image.at(x, y);
      out += char(c.b);
      out += char(c.g);
      out += char(c.r);
    }
    out.append(rowBytes - std::uint32_t(image.width) * 3, '\0');
  }
  const std::filesystem::path temp = path.string() + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file.write(out.data(), std::streamsize(out.size()));
    if (!file) {
      error = "cannot write \"" + temp.string() + "\"";
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    error = "cannot replace \"" + path.string() + "\": " + ec.message();
    return false;
  }
  return true;
}

Coverage ScaledCell(const Image& strip, int cellSize, int index, int size) {
  Coverage out(std::size_t(size) * size);
  auto source = [&](int x, int y) {
    x = std::clamp(x, 0, cellSize - 1);
    y = std::clamp(y, 0, cellSize - 1);
    return Covered(strip.at(index * cellSize + x, y));
  };
  const double scale = double(cellSize) / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Rgba sum;
      if (scale >= 1) {
        // Area average: every source pixel contributes by how much of it the
        // destination pixel covers.
        const double x0 = x * scale, x1 = x0 + scale, y0 = y * scale, y1 = y0 + scale;
        for (int sy = int(y0); sy < int(std::ceil(y1)); ++sy) {
          const double wy = std::min(y1, sy + 1.0) - std::max(y0, double(sy));
          for (int sx = int(x0); sx < int(std::ceil(x1)); ++sx) {
            const double w = wy * (std::min(x1, sx + 1.0) - std::max(x0, double(sx)));
            const Rgba p = source(sx, sy);
            sum.r += p.r * w, sum.g += p.g * w, sum.b += p.b * w, sum.a += p.a * w;
          }
        }
        const double norm = 1 / (scale * scale);
        sum.r *= norm, sum.g *= norm, sum.b *= norm, sum.a *= norm;
      } else {
        const double fx = (x + 0.5) * scale - 0.5, fy = (y + 0.5) * scale - 0.5;
        const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
        const double tx = fx - ix, ty = fy - iy;
        const Rgba q[4] = {source(ix, iy), source(ix + 1, iy), source(ix, iy + 1),
                           source(ix + 1, iy + 1)};
        const double w[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
        for (int i = 0; i < 4; ++i)
          sum.r += q[i].r * w[i], sum.g += q[i].g * w[i], sum.b += q[i].b * w[i],
              sum.a += q[i].a * w[i];
      }
      out[std::size_t(y) * size + x] = sum;
    }
  }
  return out;
}

} // namespace glyphgen
