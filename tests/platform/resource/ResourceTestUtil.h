#pragma once
// Helpers for the resource tests: bitmap files written byte by byte, a
// scratch folder removed at the end, and the module packer used the way the
// tool uses it.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/gdi/Surface.h"
#include "platform/resource/ModuleFile.h"

namespace zel::sys::test {

// A deterministic picture: every pixel differs from its neighbours, so a
// wrong row order, a lost column or swapped channels all show.
inline Pixel PatternPixel(int x, int y, bool withAlpha) {
  const Pixel a = withAlpha ? Pixel((x * 7 + y * 13 + 1) & 0xFF) << 24 : 0;
  return a | (Pixel((x * 31 + 5) & 0xFF) << 16) | (Pixel((y * 17 + 9) & 0xFF) << 8) |
         Pixel((x * 3 + y * 5) & 0xFF);
}

struct BmpOptions {
  int width = 5;
  int height = 3;
  int bits = 24;
  bool topDown = false;
  uint32_t compression = 0;
  uint16_t planes = 1;
};

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i)
    v.push_back(uint8_t(x >> (8 * i)));
}

// A bitmap file of the pattern, with an information header of 40 bytes
// (followed by the three channel masks when compression is 3).
inline std::vector<uint8_t> MakeBmp(const BmpOptions& o) {
  const int bytesPerPixel = o.bits / 8;
  const int stride = ((o.width * o.bits + 31) / 32) * 4;
  const uint32_t masks = o.compression == 3 ? 12 : 0;
  const uint32_t offset = 14 + 40 + masks;
  const uint32_t imageSize = uint32_t(stride * o.height);
  std::vector<uint8_t> v;
  v.push_back('B');
  v.push_back('M');
  Put32(v, offset + imageSize);
  Put32(v, 0);
  Put32(v, offset);
  Put32(v, 40);
  Put32(v, uint32_t(o.width));
  Put32(v, uint32_t(o.topDown ? -o.height : o.height));
  Put16(v, o.planes);
  Put16(v, uint32_t(o.bits));
  Put32(v, o.compression);
  Put32(v, imageSize);
  for (int i = 0; i < 4; ++i)
    Put32(v, 0);
  if (masks) {
    Put32(v, 0x00FF0000);
    Put32(v, 0x0000FF00);
    Put32(v, 0x000000FF);
  }
  for (int row = 0; row < o.height; ++row) {
    const int y = o.topDown ? row : o.height - 1 - row;
    for (int x = 0; x < o.width; ++x) {
      const Pixel p = PatternPixel(x, y, bytesPerPixel == 4);
      for (int b = 0; b < bytesPerPixel; ++b)
        v.push_back(uint8_t(p >> (8 * b)));
    }
    for (int pad = o.width * bytesPerPixel; pad < stride; ++pad)
      v.push_back(0);
  }
  return v;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh folder under the build directory, removed with the object.
class ScratchDir {
public:
  // CTest runs the tests of one fixture in parallel processes: the process
  // number keeps their folders apart.
  explicit ScratchDir(const std::string& name)
      : path_(std::filesystem::path(ZEL_BINARY_DIR) / "scratch" /
              (name + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

// Packs a folder into a module file as the packer tool does.
inline bool PackFolder(const std::filesystem::path& folder, const std::filesystem::path& module,
                       std::string& error) {
  std::vector<resfile::Item> items;
  std::vector<uint8_t> image;
  if (!resfile::CollectFolder(folder, items, error) || !resfile::BuildModule(items, image, error))
    return false;
  WriteBytes(module, image);
  return true;
}

} // namespace zel::sys::test
