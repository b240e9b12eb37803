// Bitmap files: reading through the system layer's decoder, writing here.

#include <cstring>
#include <string>
#include <vector>

#include "framework/core/Streams.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/GraphicsConsts.h"
#include "platform/resource/Bmp.h"

namespace zel {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

uint32_t GetU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

} // namespace

std::vector<uint8_t> EncodeBmp(const sys::Surface& pixels, int bitsPerPixel) {
  const int bytesPerPixel = bitsPerPixel == 24 ? 3 : 4;
  const int width = pixels.Width();
  const int height = pixels.Height();
  const uint32_t stride = uint32_t(sys::DibStride(width, bytesPerPixel * 8));
  const uint32_t imageSize = stride * uint32_t(height);
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, kFileHeaderSize + kInfoHeaderSize + imageSize);
  PutU32(out, 0);
  PutU32(out, kFileHeaderSize + kInfoHeaderSize);
  PutU32(out, kInfoHeaderSize);
  PutU32(out, uint32_t(width));
  PutU32(out, uint32_t(height)); // positive: rows bottom-up
  PutU16(out, 1);
  PutU16(out, uint32_t(bytesPerPixel * 8));
  PutU32(out, sys::BI_RGB);
  PutU32(out, imageSize);
  PutU32(out, 3780); // 96 dots per inch
  PutU32(out, 3780);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    const sys::Pixel* row = pixels.Row(y);
    for (int x = 0; x < width; ++x) {
      const sys::Pixel p = row[x];
      out.push_back(uint8_t(p));
      out.push_back(uint8_t(p >> 8));
      out.push_back(uint8_t(p >> 16));
      if (bytesPerPixel == 4) out.push_back(uint8_t(p >> 24));
    }
    for (uint32_t pad = uint32_t(width * bytesPerPixel); pad < stride; ++pad)
      out.push_back(0);
  }
  return out;
}

void TBitmap::LoadFromStream(TStream& stream) {
  TStreamRewindOnError rewind(stream);
  uint8_t head[kFileHeaderSize];
  const int64_t available = stream.Size() - stream.Position();
  if (available < kFileHeaderSize + kInfoHeaderSize)
    throw EInvalidGraphic::CreateFmt(SInvalidBitmap, "the data is too short");
  stream.ReadBuffer(head, kFileHeaderSize);
  if (head[0] != 'B' || head[1] != 'M')
    throw EInvalidGraphic::CreateFmt(SInvalidBitmap, "it does not start with \"BM\"");
  // The file header says how long the picture is, so that data after it in
  // the stream is left for the next reader; writers that leave it 0 mean "to
  // the end".
  int64_t length = GetU32(head + 2);
  if (length == 0) length = available;
  if (length < kFileHeaderSize + kInfoHeaderSize || length > available)
    throw EInvalidGraphic::CreateFmt(SInvalidBitmap, "the file size field is wrong");
  std::vector<uint8_t> file(size_t(length), 0);
  std::memcpy(file.data(), head, kFileHeaderSize);
  stream.ReadBuffer(file.data() + kFileHeaderSize, length - kFileHeaderSize);

  sys::DecodedBmp decoded;
  std::string error;
  if (!sys::DecodeBmp(file, decoded, error))
    throw EInvalidGraphic::CreateFmt(SInvalidBitmap, error);
  sys::HBITMAP bitmap = sys::CreateBitmap(decoded.pixels.Width(), decoded.pixels.Height(),
                                          decoded.bitsPerPixel == 24 ? 24 : 32);
  if (!bitmap) throw EInvalidGraphic::CreateFmt(SInvalidBitmap, "no memory for its pixels");
  bitmap->surface = std::move(decoded.pixels);
  SetHandle(bitmap);
}

void TBitmap::SaveToStream(TStream& stream) {
  if (!FHandle) return; // an empty picture writes nothing, and reads back empty
  const std::vector<uint8_t> bytes = EncodeBmp(FHandle->surface, FHandle->bitsPerPixel);
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

} // namespace zel
