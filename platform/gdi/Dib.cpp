// Exchange of pixels between bitmaps and device-independent buffers of 24 or
// 32 bits.  Buffer rows are padded to 4 bytes; a positive height stores the
// bottom row first, a negative one the top row first.  Pixels are read and
// written byte by byte (blue, green, red, alpha), never by copying memory
// images of structures, so the layout does not depend on the host.  The
// alpha byte of a 32-bit buffer is exchanged verbatim with a 32-bit bitmap;
// a 24-bit bitmap keeps alpha 0.

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Painter.h"

namespace zel::sys {
namespace {

// A validated view of a buffer's header.
struct DibLayout {
  int width = 0;
  int height = 0; // rows, positive
  bool bottomUp = true;
  int bytesPerPixel = 4;
  int stride = 0;
};

bool ReadLayout(const BITMAPINFO* info, DibLayout& out) {
  if (!info) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < 40 || h.biCompression != BI_RGB) return false;
  if (h.biBitCount != 24 && h.biBitCount != 32) return false;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == std::numeric_limits<LONG>::min())
    return false;
  // Keep the buffer size within what an int offset can address.
  const int64_t stride = ((int64_t(h.biWidth) * h.biBitCount + 31) / 32) * 4;
  const int64_t rows = std::llabs(int64_t(h.biHeight));
  if (stride * rows > std::numeric_limits<int>::max()) return false;
  out.width = h.biWidth;
  out.height = int(rows);
  out.bottomUp = h.biHeight > 0;
  out.bytesPerPixel = h.biBitCount / 8;
  out.stride = int(stride);
  return true;
}

// The picture row (0 = top) that buffer scan line `line` holds.
int PictureRow(const DibLayout& l, int line) {
  return l.bottomUp ? l.height - 1 - line : line;
}

void ReadPixel(const BYTE* p, int bytesPerPixel, bool keepAlpha, Pixel& out) {
  const Pixel alpha = (bytesPerPixel == 4 && keepAlpha) ? Pixel(p[3]) << 24 : 0;
  out = alpha | (Pixel(p[2]) << 16) | (Pixel(p[1]) << 8) | Pixel(p[0]);
}

void WritePixel(BYTE* p, int bytesPerPixel, Pixel in) {
  p[0] = BYTE(in & 0xFF);
  p[1] = BYTE((in >> 8) & 0xFF);
  p[2] = BYTE((in >> 16) & 0xFF);
  if (bytesPerPixel == 4) p[3] = BYTE(in >> 24);
}

// The range of scan lines [first, last) that a call with start and lines
// touches in a buffer of this layout.
bool LineRange(const DibLayout& l, UINT start, UINT lines, int& first, int& last) {
  if (start >= UINT(l.height)) return false;
  first = int(start);
  last = int(std::min<uint64_t>(uint64_t(start) + lines, uint64_t(l.height)));
  return last > first;
}

} // namespace

int GetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
  if (!bmp || !info) return 0;
  const Surface& s = bmp->surface;
  if (!bits) {
    // Only the description is asked for: fill in what the bitmap is.
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < 40) return 0;
    if (h.biBitCount != 24 && h.biBitCount != 32) h.biBitCount = WORD(bmp->bitsPerPixel);
    h.biWidth = s.Width();
    h.biHeight = s.Height();
    h.biPlanes = 1;
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(DibStride(s.Width(), h.biBitCount) * s.Height());
    return s.Height() > 0 ? s.Height() : 0;
  }
  DibLayout l;
  if (!ReadLayout(info, l)) return 0;
  int first = 0, last = 0;
  if (!LineRange(l, start, lines, first, last)) return 0;
  auto* out = static_cast<BYTE*>(bits);
  const bool keepAlpha = bmp->bitsPerPixel == 32;
  for (int line = first; line < last; ++line) {
    BYTE* row = out + size_t(line - first) * size_t(l.stride);
    const int y = PictureRow(l, line);
    for (int x = 0; x < l.width; ++x) {
      // Parts of the buffer beyond the bitmap read as black.
      Pixel p = 0;
      if (s.Contains(x, y)) p = keepAlpha ? s.At(x, y) : s.At(x, y) & 0x00FFFFFFu;
      WritePixel(row + size_t(x) * size_t(l.bytesPerPixel), l.bytesPerPixel, p);
    }
    for (int pad = l.width * l.bytesPerPixel; pad < l.stride; ++pad)
      row[pad] = 0;
  }
  return last - first;
}

int SetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT) {
  if (!bmp || !bits) return 0;
  DibLayout l;
  if (!ReadLayout(info, l)) return 0;
  int first = 0, last = 0;
  if (!LineRange(l, start, lines, first, last)) return 0;
  Surface& s = bmp->surface;
  const auto* in = static_cast<const BYTE*>(bits);
  const bool keepAlpha = bmp->bitsPerPixel == 32;
  for (int line = first; line < last; ++line) {
    const BYTE* row = in + size_t(line - first) * size_t(l.stride);
    const int y = PictureRow(l, line);
    if (y < 0 || y >= s.Height()) continue;
    const int w = std::min(l.width, s.Width());
    for (int x = 0; x < w; ++x)
      ReadPixel(row + size_t(x) * size_t(l.bytesPerPixel), l.bytesPerPixel, keepAlpha, s.At(x, y));
  }
  return last - first;
}

int SetDIBitsToDevice(HDC dc, int x, int y, DWORD w, DWORD h, int sx, int sy, UINT start,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
  if (!dc || !bits) return 0;
  DibLayout l;
  if (!ReadLayout(info, l)) return 0;
  int first = 0, last = 0;
  if (!LineRange(l, start, lines, first, last)) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return last - first;
  // The source rectangle is measured from the picture's bottom-left corner
  // for a bottom-up buffer and from its top-left for a top-down one.
  const int64_t width = std::min<int64_t>(w, l.width), height = std::min<int64_t>(h, l.height);
  const int64_t srcTop = l.bottomUp ? l.height - int64_t(sy) - height : int64_t(sy);
  const POINT d = painter.ToTarget(x, y);
  const RECT rect = painter.ToTarget(x, y, width, height);
  const auto* in = static_cast<const BYTE*>(bits);
  Surface& target = painter.Target();
  painter.ForEachPiece(rect, [&](const RECT& piece) {
    for (int ty = piece.top; ty < piece.bottom; ++ty) {
      const int64_t pictureRow = srcTop + (ty - d.y);
      const int64_t line = l.bottomUp ? l.height - 1 - pictureRow : pictureRow;
      if (line < first || line >= last) continue; // not in the buffer given
      const BYTE* row = in + size_t(line - first) * size_t(l.stride);
      for (int tx = piece.left; tx < piece.right; ++tx) {
        const int64_t px = int64_t(sx) + (tx - d.x);
        if (px < 0 || px >= l.width) continue;
        ReadPixel(row + size_t(px) * size_t(l.bytesPerPixel), l.bytesPerPixel, true,
                  target.At(tx, ty));
      }
    }
  });
  return last - first;
}

} // namespace zel::sys
