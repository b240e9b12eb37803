#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Png.h"
#include "tests/platform/gdi/TestCanvas.h"

namespace zel::sys {
namespace {

using testing::TestCanvas;

BITMAPINFO Header(int w, int h, int bits) {
  BITMAPINFO info;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biBitCount = WORD(bits);
  return info;
}

Pixel Pattern(int x, int y) {
  return Pixel(0x80000000u | (y << 16) | (x << 8) | (x ^ y));
}

TEST(Dib, RowOrderFollowsTheSignOfTheHeight) {
  TestCanvas c(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      c.bmp->surface.At(x, y) = Pattern(x, y);
  std::vector<BYTE> buf(12 * 2, 0xEE);
  BITMAPINFO up = Header(3, 2, 32);
  ASSERT_EQ(GetDIBits(c.dc, c.bmp, 0, 2, buf.data(), &up, DIB_RGB_COLORS), 2);
  // Bottom-up: the first row in memory is the bottom picture row (y = 1).
  EXPECT_EQ(buf[0], BYTE(0 ^ 1));
  EXPECT_EQ(buf[1], 0);
  EXPECT_EQ(buf[2], 1);
  EXPECT_EQ(buf[3], 0x80) << "alpha is copied";
  EXPECT_EQ(buf[12 + 4 + 1], 1) << "second row in memory is y = 0, x = 1";
  EXPECT_EQ(buf[12 + 4 + 2], 0);
  BITMAPINFO down = Header(3, -2, 32);
  GetDIBits(c.dc, c.bmp, 0, 2, buf.data(), &down, DIB_RGB_COLORS);
  EXPECT_EQ(buf[2], 0) << "top-down: the first row is y = 0";
  EXPECT_EQ(buf[12 + 2], 1);
}

TEST(Dib, RoundTripsInBothOrientationsAndDepths) {
  for (int bits : {24, 32}) {
    for (int sign : {1, -1}) {
      TestCanvas src(5, 3), dst(5, 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
          src.bmp->surface.At(x, y) = Pattern(x, y);
      const int stride = DibStride(5, bits);
      EXPECT_EQ(stride, bits == 24 ? 16 : 20) << "rows are padded to 4 bytes";
      std::vector<BYTE> buf(size_t(stride) * 3, 0xEE);
      BITMAPINFO info = Header(5, 3 * sign, bits);
      ASSERT_EQ(GetDIBits(src.dc, src.bmp, 0, 3, buf.data(), &info, DIB_RGB_COLORS), 3);
      if (bits == 24) {
        EXPECT_EQ(buf[15], 0) << "padding is zeroed";
      }
      ASSERT_EQ(SetDIBits(dst.dc, dst.bmp, 0, 3, buf.data(), &info, DIB_RGB_COLORS), 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
          const Pixel want = bits == 32 ? Pattern(x, y) : Pattern(x, y) & 0x00FFFFFFu;
          ASSERT_EQ(dst.Raw(x, y), want) << bits << " " << sign << " " << x << "," << y;
        }
    }
  }
}

TEST(Dib, PartialLinesAndA24BitBitmap) {
  UniqueGdi<HBITMAP> bmp(CreateBitmap(2, 4, 24));
  std::vector<BYTE> buf(8 * 4);
  for (size_t i = 0; i < buf.size(); ++i)
    buf[i] = BYTE(i + 1);
  BITMAPINFO info = Header(2, 4, 32);
  // Lines 1 and 2 from the bottom are picture rows 2 and 1.
  ASSERT_EQ(SetDIBits(nullptr, bmp, 1, 2, buf.data(), &info, DIB_RGB_COLORS), 2);
  const Surface& s = bmp.get()->surface;
  EXPECT_EQ(s.At(0, 3), 0u);
  EXPECT_EQ(s.At(0, 2), 0x00030201u) << "a 24-bit bitmap keeps alpha 0";
  EXPECT_EQ(s.At(1, 1), 0x000F0E0Du);
  EXPECT_EQ(s.At(0, 0), 0u);
  EXPECT_EQ(SetDIBits(nullptr, bmp, 4, 1, buf.data(), &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBits(nullptr, bmp, 3, 9, buf.data(), &info, DIB_RGB_COLORS), 1);
}

TEST(Dib, WrongHeadersChangeNothing) {
  TestCanvas c(2, 2);
  for (Pixel& p : c.bmp->surface.Pixels())
    p = 0x11223344u;
  std::vector<BYTE> buf(64, 0xAB);
  BITMAPINFO bad[4] = {Header(2, 2, 16), Header(0, 2, 32), Header(2, 0, 32), Header(2, 2, 32)};
  bad[3].bmiHeader.biCompression = 3;
  for (BITMAPINFO& info : bad) {
    EXPECT_EQ(GetDIBits(c.dc, c.bmp, 0, 2, buf.data(), &info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBits(c.dc, c.bmp, 0, 2, buf.data(), &info, DIB_RGB_COLORS), 0);
  }
  for (BYTE b : buf)
    ASSERT_EQ(b, 0xAB);
  for (Pixel p : c.bmp->surface.Pixels())
    ASSERT_EQ(p, 0x11223344u);
  BITMAPINFO ok = Header(2, 2, 32);
  EXPECT_EQ(GetDIBits(c.dc, nullptr, 0, 2, buf.data(), &ok, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBits(c.dc, c.bmp, 0, 2, nullptr, &ok, DIB_RGB_COLORS), 0);
}

TEST(Dib, QueryFillsTheHeader) {
  UniqueGdi<HBITMAP> bmp(CreateBitmap(7, 5, 24));
  BITMAPINFO info;
  EXPECT_EQ(GetDIBits(nullptr, bmp, 0, 5, nullptr, &info, DIB_RGB_COLORS), 5);
  EXPECT_EQ(info.bmiHeader.biWidth, 7);
  EXPECT_EQ(info.bmiHeader.biHeight, 5);
  EXPECT_EQ(info.bmiHeader.biBitCount, 24);
  EXPECT_EQ(info.bmiHeader.biSizeImage, DWORD(DibStride(7, 24) * 5));
}

TEST(Dib, SetDIBitsToDeviceDrawsASourceRectangle) {
  TestCanvas c(4, 4);
  // A 2 x 2 top-down buffer: red, green / blue, black.
  const BYTE bits[16] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0};
  BITMAPINFO info = Header(2, -2, 32);
  EXPECT_EQ(SetDIBitsToDevice(c.dc, 1, 1, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(2, 1), RGB(0, 255, 0));
  EXPECT_EQ(c.At(1, 2), RGB(0, 0, 255));
  EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
  // The same bytes bottom-up put the blue row on top.
  info = Header(2, 2, 32);
  SetDIBitsToDevice(c.dc, 0, 0, 1, 1, 0, 1, 0, 2, bits, &info, DIB_RGB_COLORS);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
}

TEST(Png, WriteReadRoundTripAndDamagedFiles) {
  const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
  TestCanvas c(7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x)
      c.bmp->surface.At(x, y) = Pattern(x, y);
  c.Save("png_roundtrip");
  const std::string path = dir + "/gdi_png_roundtrip.png";
  Surface back;
  ASSERT_TRUE(ReadPng(path, back));
  ASSERT_EQ(back.Width(), 7);
  ASSERT_EQ(back.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x)
      ASSERT_EQ(back.At(x, y), Pattern(x, y) | 0xFF000000u) << "written opaque by default";
  ASSERT_TRUE(WritePng(c.bmp->surface, path, true));
  ASSERT_TRUE(ReadPng(path, back));
  EXPECT_EQ(back.At(3, 2) >> 24, 0x80u) << "alpha kept on request";

  Surface keep(2, 2, 0x12345678u);
  EXPECT_FALSE(ReadPng(dir + "/no_such_file.png", keep));
  const std::string broken = dir + "/gdi_broken.png";
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bytes.resize(bytes.size() / 2);
  std::ofstream(broken, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  EXPECT_FALSE(ReadPng(broken, keep));
  EXPECT_EQ(keep.Width(), 2);
  EXPECT_EQ(keep.At(1, 1), 0x12345678u) << "a failed read leaves the surface alone";
  EXPECT_FALSE(WritePng(keep, dir + "/no/such/dir/x.png"));
  EXPECT_FALSE(WritePng(Surface(), dir + "/empty.png"));
  std::remove(broken.c_str());
}

} // namespace
} // namespace zel::sys
