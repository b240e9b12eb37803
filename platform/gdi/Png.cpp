// PNG files through libpng.  Writing uses the simplified interface.  Reading
// uses the full one, because a file from outside must prove its size before
// it costs memory: libpng's user limits bound the sides and the chunk sizes,
// a walk over the chunk headers checks that the compressed data can hold the
// picture it claims, and the rows of a plain (not interlaced) picture take
// memory only as they arrive.

#include "platform/gdi/Png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
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

namespace {

// No picture this system writes or compares comes near this side.
constexpr png_uint_32 kMaxSide = 1u << 15;
// The largest chunk libpng may keep in memory and how many it may keep; the
// ones read here are a few bytes each, the rest are passed over unread.  The
// picture data is bounded by the picture's size instead.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t(1) << 20;
constexpr png_uint_32 kMaxCachedChunks = 64;
// Inflate makes at most 1032 bytes of one compressed byte (a 258-byte match
// coded in two bits), so the picture data can be no larger than this many
// times the compressed bytes.
constexpr uint64_t kMaxInflateRatio = 1032;

struct TCloseFile {
  void operator()(FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<FILE, TCloseFile>;

uint32_t BigEndian32(const unsigned char* b) {
  return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
}

// Walks the chunk headers from the signature to IEND without reading their
// data and adds up the compressed picture data.  False for a file that is
// no PNG, has a chunk longer than the file or ends before IEND.
bool CompressedBytes(FILE* f, uint64_t& idat) {
  if (std::fseek(f, 0, SEEK_END) != 0) return false;
  const off_t size = ftello(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) return false;
  unsigned char head[8];
  if (std::fread(head, 1, 8, f) != 8 || png_sig_cmp(head, 0, 8) != 0) return false;
  uint64_t at = 8;
  idat = 0;
  for (;;) {
    if (std::fread(head, 1, 8, f) != 8) return false;
    const uint64_t length = BigEndian32(head);
    if (length > PNG_UINT_31_MAX) return false;
    at += 8;
    if (length + 4 > uint64_t(size) - at) return false; // data and CRC must be there
    if (std::memcmp(head + 4, "IDAT", 4) == 0) idat += length;
    if (std::memcmp(head + 4, "IEND", 4) == 0) return true;
    at += length + 4;
    if (fseeko(f, off_t(at), SEEK_SET) != 0) return false;
  }
}

// The pixels as they arrive, and what the file claims.
struct TDecoded {
  std::vector<Pixel> Pixels;
  png_uint_32 Width = 0, Height = 0;
};

void OnPngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// Bounds what libpng keeps and keeps only the chunks that change colours.
void SetLimits(png_structp png) {
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_chunk_cache_max(png, kMaxCachedChunks);
  static const png_byte colourChunks[] = {'c', 'H', 'R', 'M', 0, 'g', 'A', 'M', 'A', 0,
                                          's', 'B', 'I', 'T', 0, 's', 'R', 'G', 'B', 0};
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, colourChunks, 4);
}

// Asks libpng for 8-bit blue, green, red, alpha in the sRGB encoding,
// whatever the colour type and depth of the file.
void SetBgraTransforms(png_structp png, png_infop info) {
  const png_byte type = png_get_color_type(png, info);
  png_set_expand(png); // palette, low-depth grey and tRNS become full channels
  png_set_scale_16(png);
  if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  if ((type & PNG_COLOR_MASK_ALPHA) == 0 && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  // The file's own gamma (a linear 16-bit file says 1.0), else sRGB's.
  png_fixed_point gamma = 45455; // sRGB's encoding exponent, 1 / 2.2
  png_get_gAMA_fixed(png, info, &gamma);
  png_set_gamma_fixed(png, PNG_DEFAULT_sRGB, gamma);
}

// The libpng part of reading.  libpng reports errors by a long jump back to
// here, so this function holds no object with a destructor: the buffers
// live in the caller.  Growing the pixel buffer may throw std::bad_alloc,
// which leaves through the caller's clean-up like any exception.
bool Decode(png_structp png, png_infop info, uint64_t compressed, TDecoded& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  out.Width = png_get_image_width(png, info);
  out.Height = png_get_image_height(png, info);
  // The raw rows, before any filter byte, must fit in what the compressed
  // data can inflate to.
  const uint64_t raw = uint64_t(out.Height) * png_get_rowbytes(png, info);
  if (raw > compressed * kMaxInflateRatio) return false;
  SetBgraTransforms(png, info);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(out.Width) * 4) return false;
  const size_t w = out.Width;
  if (passes > 1) {
    // Every pass revisits the rows: the whole picture is needed at once,
    // which the compressed data has shown it can fill.
    out.Pixels.resize(w * out.Height);
    for (int pass = 0; pass < passes; ++pass)
      for (png_uint_32 y = 0; y < out.Height; ++y)
        png_read_row(png, reinterpret_cast<png_bytep>(out.Pixels.data() + w * y), nullptr);
  } else {
    for (png_uint_32 y = 0; y < out.Height; ++y) {
      out.Pixels.resize(w * (y + 1)); // grows geometrically
      png_read_row(png, reinterpret_cast<png_bytep>(out.Pixels.data() + w * y), nullptr);
    }
  }
  png_read_end(png, nullptr);
  return true;
}

} // namespace

bool ReadPng(const std::string& path, Surface& surface) {
  TFile file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  uint64_t compressed = 0;
  if (!CompressedBytes(file.get(), compressed) || std::fseek(file.get(), 0, SEEK_SET) != 0)
    return false;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  struct TRelease {
    png_structp& Png;
    png_infop& Info;
    ~TRelease() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
  } release{png, info};
  if (!info) return false;
  png_init_io(png, file.get());
  SetLimits(png);
  // A picture too large for the memory left is refused like a damaged one.
  try {
    TDecoded d;
    if (!Decode(png, info, compressed, d)) return false;
    Surface result(int(d.Width), int(d.Height));
    std::memcpy(result.Pixels().data(), d.Pixels.data(), d.Pixels.size() * sizeof(Pixel));
    surface = std::move(result);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

} // namespace zel::sys
