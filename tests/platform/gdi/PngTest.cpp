// Reading PNG files from outside: every colour type in 8-bit BGRA, damaged
// files refused without spending memory on what they claim, and a fixed run
// of mutated files.

#include <gtest/gtest.h>
#include <png.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdi/Png.h"
#include "tests/support/Mutation.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                              void (*)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void*);
}
#endif

namespace zel::sys {
namespace {

using test::Mutate;
using test::TRandom;

// The most heap held at once while a probe runs, seen through the sanitizer
// allocator's hooks.  Without the sanitizers nothing is seen and the peak is
// 0, so the memory budgets are checked in the sanitizer build only.
std::atomic<bool> gArmed{false};
std::atomic<int64_t> gHeld{0}, gPeak{0};
#if defined(__SANITIZE_ADDRESS__)
void OnAlloc(const volatile void*, size_t n) {
  if (!gArmed) return;
  const int64_t now = gHeld += int64_t(n);
  for (int64_t was = gPeak; now > was && !gPeak.compare_exchange_weak(was, now);) {
  }
}
void OnFree(const volatile void* p) {
  if (gArmed && p) gHeld -= int64_t(__sanitizer_get_allocated_size(p));
}
[[maybe_unused]] const bool gHooked = __sanitizer_install_malloc_and_free_hooks(OnAlloc, OnFree);
#endif

template <class F> size_t PeakHeap(F f) {
  gHeld = 0;
  gPeak = 0;
  gArmed = true;
  f();
  gArmed = false;
  return size_t(gPeak.load());
}

std::string Scratch(const std::string& name) {
  return ::testing::TempDir() + "zel_png_" + std::to_string(::getpid()) + "_" + name;
}

// A file in memory under a path the reader can open, so that thousands of
// files cost no disk.
class TMemoryFile {
public:
  TMemoryFile() : FFd(::memfd_create("png", 0)) { EXPECT_GE(FFd, 0); }
  ~TMemoryFile() { ::close(FFd); }
  const std::string& Put(const std::string& bytes) {
    EXPECT_EQ(::ftruncate(FFd, 0), 0);
    EXPECT_EQ(::pwrite(FFd, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
    return FPath;
  }

private:
  int FFd;
  std::string FPath = "/proc/self/fd/" + std::to_string(FFd);
};

uint32_t Crc(const std::string& data) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : data) {
    c ^= b;
    for (int k = 0; k < 8; ++k)
      c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

std::string Be32(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Chunk(const char* type, const std::string& data) {
  return Be32(uint32_t(data.size())) + type + data + Be32(Crc(type + data));
}

std::string Header(uint32_t w, uint32_t h, int depth, int colourType, int interlace = 0) {
  return Chunk("IHDR",
               Be32(w) + Be32(h) + char(depth) + char(colourType) + '\0' + '\0' + char(interlace));
}

const std::string kSignature = "\x89PNG\r\n\x1a\n";

// Recomputes the CRC of every chunk whose header still makes sense, so that
// mutated data reaches the decoder instead of stopping at the check sum.
void FixCrcs(std::string& f) {
  size_t at = 8;
  while (at + 12 <= f.size()) {
    const uint32_t n = uint32_t(uint8_t(f[at])) << 24 | uint32_t(uint8_t(f[at + 1])) << 16 |
                       uint32_t(uint8_t(f[at + 2])) << 8 | uint8_t(f[at + 3]);
    if (n > f.size() - at - 12) return;
    f.replace(at + 8 + n, 4, Be32(Crc(f.substr(at + 4, 4 + n))));
    at += 12 + n;
  }
}

// A file written by libpng's simplified writer from raw samples.
std::string Simple(uint32_t format, int w, int h, const void* samples,
                   const void* colormap = nullptr, int entries = 0) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(w);
  image.height = png_uint_32(h);
  image.format = format;
  image.colormap_entries = png_uint_32(entries);
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, samples, 0, colormap));
  std::string out(size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, samples, 0, colormap));
  out.resize(size);
  return out;
}

// An interlaced 8-bit RGB file through libpng's full writer.
void Append(png_structp png, png_bytep data, size_t n) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), n);
}
bool WriteInterlaced(std::string& out, int w, int h, std::vector<png_bytep>& rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

struct TSample {
  const char* Name;
  std::string File;
  int Width;
  std::vector<Pixel> Want; // 0xAARRGGBB
  int Tolerance = 0;
};

// One small file of each kind the reader must handle, with the pixels it
// must give.
std::vector<TSample> Samples() {
  const uint8_t grey[] = {0, 128, 255, 7};
  const uint8_t greyAlpha[] = {10, 0, 200, 128, 255, 255, 0, 255};
  const uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3};
  const uint8_t map[] = {10, 20, 30, 255, 200, 100, 50, 64}, indexes[] = {0, 1, 1, 0};
  const uint16_t linear[] = {0, 0, 0, 65535, 65535, 65535, 32768, 32768, 32768, 0, 65535, 0};
  std::vector<TSample> s = {
      {"grey",
       Simple(PNG_FORMAT_GRAY, 2, 2, grey),
       2,
       {0xFF000000, 0xFF808080, 0xFFFFFFFF, 0xFF070707}},
      {"grey and alpha",
       Simple(PNG_FORMAT_GA, 2, 2, greyAlpha),
       2,
       {0x000A0A0A, 0x80C8C8C8, 0xFFFFFFFF, 0xFF000000}},
      {"rgb",
       Simple(PNG_FORMAT_RGB, 2, 2, rgb),
       2,
       {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF010203}},
      {"palette with transparency",
       Simple(PNG_FORMAT_RGBA_COLORMAP, 2, 2, indexes, map, 2),
       2,
       {0xFF0A141E, 0x40C86432, 0x40C86432, 0xFF0A141E}},
      // Linear half intensity is 188 in the sRGB encoding.
      {"16-bit linear",
       Simple(PNG_FORMAT_LINEAR_RGB, 2, 2, linear),
       2,
       {0xFF000000, 0xFFFFFFFF, 0xFFBCBCBC, 0xFF00FF00},
       2},
  };
  // Nine by nine reaches every pass of the interlacing.
  TSample inter{"interlaced", {}, 9, {}};
  std::vector<uint8_t> bytes(9 * 9 * 3);
  std::vector<png_bytep> rows;
  for (int y = 0; y < 9; ++y) {
    rows.push_back(bytes.data() + y * 27);
    for (int x = 0; x < 9; ++x) {
      uint8_t* p = bytes.data() + y * 27 + x * 3;
      p[0] = uint8_t(x * 20), p[1] = uint8_t(y * 20), p[2] = uint8_t(x * y);
      inter.Want.push_back(0xFF000000u | Pixel(p[0]) << 16 | Pixel(p[1]) << 8 | p[2]);
    }
  }
  EXPECT_TRUE(WriteInterlaced(inter.File, 9, 9, rows));
  s.push_back(inter);
  return s;
}

TEST(PngRead, EveryColourTypeComesOutAsBgra) {
  TMemoryFile file;
  for (const TSample& t : Samples()) {
    Surface got;
    ASSERT_TRUE(ReadPng(file.Put(t.File), got)) << t.Name;
    ASSERT_EQ(got.Width(), t.Width) << t.Name;
    ASSERT_EQ(got.Height(), int(t.Want.size()) / t.Width) << t.Name;
    for (size_t i = 0; i < t.Want.size(); ++i)
      for (int shift = 0; shift < 32; shift += 8) {
        const int g = int(got.Pixels()[i] >> shift & 0xFF), w = int(t.Want[i] >> shift & 0xFF);
        EXPECT_NEAR(g, w, t.Tolerance) << t.Name << " pixel " << i << " bits " << shift;
      }
  }
}

// A picture of noise, which does not compress, with a taller claim.
std::string TallerThanItsData() {
  std::vector<uint8_t> noise(256 * 256 * 4);
  uint32_t x = 12345;
  for (uint8_t& b : noise)
    b = uint8_t((x = x * 1103515245u + 12345u) >> 24);
  std::string f = Simple(PNG_FORMAT_RGBA, 256, 256, noise.data());
  f.replace(20, 4, Be32(32767)); // the height in IHDR
  FixCrcs(f);
  return f;
}

TEST(PngRead, DamagedFilesAreRefusedBeforeTheyCostWhatTheyClaim) {
  const std::string tiny =
      Chunk("IDAT", std::string("\x78\x9c\x63\x60\x00\x02\x00\x00\x05\x00\x01", 11));
  const std::string end = Chunk("IEND", "");
  struct TCase {
    const char* Why;
    std::string File;
    bool Reads = false;
  } cases[] = {
      {"four gigabytes claimed by 68 bytes", kSignature + Header(32767, 32767, 8, 6) + tiny + end},
      {"the same claim interlaced", kSignature + Header(32767, 32767, 8, 6, 1) + tiny + end},
      {"wider than any picture", kSignature + Header(32769, 1, 8, 6) + tiny + end},
      {"no pixels at all", kSignature + Header(1, 1, 8, 6) + end},
      {"a chunk longer than the file",
       kSignature + Header(4, 4, 8, 6) + Be32(0x7FFFFFF0) + "IDAT" + tiny + end},
      {"cut before IEND", kSignature + Header(1, 1, 8, 6) + tiny},
      {"a large text chunk is passed over, not kept",
       kSignature + Header(1, 1, 8, 6) + Chunk("tEXt", std::string(2 << 20, 'x')) + tiny + end,
       true},
      {"rows that run out", TallerThanItsData()},
      {"no signature", "GIF89a" + std::string(60, '\0')},
  };
  EXPECT_EQ(cases[0].File.size(), 68u);
  TMemoryFile file;
  for (const TCase& c : cases) {
    const std::string& path = file.Put(c.File);
    Surface keep(2, 2, 0x12345678u);
    bool read = false;
    const size_t peak = PeakHeap([&] { read = ReadPng(path, keep); });
    EXPECT_EQ(read, c.Reads) << c.Why;
    // libpng's buffers and a few rows of the widest picture; never the claim.
    EXPECT_LT(peak, 3u << 20) << c.Why;
    if (c.Reads) continue;
    ASSERT_EQ(keep.Width(), 2) << c.Why;
    EXPECT_EQ(keep.At(1, 1), 0x12345678u) << c.Why;
  }
}

TEST(PngRead, MutatedFilesAreReadOrRefusedCleanly) {
  std::vector<std::string> seeds;
  for (const TSample& t : Samples())
    seeds.push_back(t.File);
  Surface shot(24, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x)
      shot.At(x, y) =
          Pixel(x * 10) << 16 | Pixel(y * 15) << 8 | Pixel((x ^ y) * 9) | Pixel(x * 11) << 24;
  const std::string path = Scratch("mutant.png");
  ASSERT_TRUE(WritePng(shot, path, true));
  {
    std::ifstream in(path, std::ios::binary);
    seeds.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::remove(path.c_str());
  TMemoryFile file;
  TRandom r{20261209};
  int read = 0, refused = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string f = Mutate(seeds[r.Below(seeds.size())], seeds, r);
    if (r.Below(4)) FixCrcs(f);
    Surface got(2, 2, 0x12345678u);
    bool ok = false;
    const size_t peak = PeakHeap([&] { ok = ReadPng(file.Put(f), got); });
    if (ok) {
      ++read;
      EXPECT_EQ(got.Pixels().size(), size_t(got.Width()) * size_t(got.Height())) << i;
      // A picture that decodes costs about itself, three times over at the end.
      EXPECT_LT(peak, (2u << 20) + got.Pixels().size_bytes() * 3) << i;
    } else {
      ++refused;
      ASSERT_EQ(got.Width(), 2) << i;
      ASSERT_EQ(got.At(1, 1), 0x12345678u) << i;
      EXPECT_LT(peak, 3u << 20) << i;
    }
  }
  // Both outcomes occur often enough for the run to mean something.
  EXPECT_GT(read, 800);
  EXPECT_GT(refused, 8000);
}

} // namespace
} // namespace zel::sys
