#include "framework/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include "PictureOutput.h"
#include "framework/core/Streams.h"

namespace zel {
namespace {

using sys::RGB;

// A bitmap filled with one colour, with a different colour in one pixel.
void Fill(TBitmap& b, TColor color) {
  b.Canvas()->Brush()->SetColor(color);
  b.Canvas()->FillRect(sys::RECT{0, 0, b.Width(), b.Height()});
}

TEST(Bitmap, PixelFormatsAndDepth) {
  TBitmap b(4, 3);
  EXPECT_EQ(b.PixelFormat(), pfDevice);
  EXPECT_EQ(b.Handle()->bitsPerPixel, 32);
  b.ScanLine(0)[0] = 0x80112233;
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(b.Handle()->bitsPerPixel, 24);
  EXPECT_EQ(b.ScanLine(0)[0], 0x00112233u) << "24 bits keep no alpha";
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(b.Handle()->bitsPerPixel, 32);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(Bitmap, ResizingKeepsTheTopLeftPart) {
  TBitmap b(4, 4);
  Fill(b, clRed);
  b.Canvas()->SetPixels(3, 3, clBlue);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.SetSize(6, 5);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(3, 3), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(5, 4), clWhite) << "new pixels are white";
  b.SetWidth(2);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(2, 1), clNone) << "outside the picture";
}

TEST(Bitmap, SidesCanBeSetOneAfterTheOther) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  b.SetHeight(7);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Height(), 7);
  b.SetWidth(5);
  EXPECT_FALSE(b.Empty());
  EXPECT_EQ(b.Handle()->surface.Width(), 5);
  EXPECT_EQ(b.Handle()->surface.Height(), 7);
  EXPECT_THROW(b.SetSize(40000, 10), EOutOfMemory);
  EXPECT_THROW(b.SetSize(30000, 30000), EOutOfMemory);
  EXPECT_EQ(b.Width(), 5);
  b.SetSize(-3, 2);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Handle(), nullptr);
}

TEST(Bitmap, AssignCopiesPixelsAndSettings) {
  TBitmap a(3, 3, pf32bit);
  Fill(a, clGreen);
  a.SetTransparentColor(clGreen);
  a.SetTransparent(true);
  TBitmap b;
  b.Assign(&a);
  EXPECT_NE(b.Handle(), a.Handle());
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clGreen);
  Fill(a, clRed);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clGreen) << "the copy is independent";
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, HandlesCanBeTakenOverAndHandedOut) {
  TBitmap b(2, 2);
  b.Canvas()->FillRect(sys::RECT{0, 0, 2, 2}); // the canvas has the bitmap selected
  sys::HBITMAP h = b.ReleaseHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->selected, 0) << "the canvas let the bitmap go";
  EXPECT_TRUE(b.Empty());
  TBitmap c;
  c.SetHandle(h);
  EXPECT_EQ(c.Width(), 2);
  EXPECT_EQ(c.PixelFormat(), pf32bit);
  sys::HBITMAP h24 = sys::CreateBitmap(3, 1, 24);
  c.SetHandle(h24);
  EXPECT_EQ(c.PixelFormat(), pf24bit);
  EXPECT_EQ(c.Width(), 3);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUntilFixed) {
  TBitmap b(4, 4);
  Fill(b, clYellow);
  b.Canvas()->SetPixels(0, 3, clFuchsia);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  b.SetTransparentColor(clYellow);
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  EXPECT_EQ(b.TransparentColor(), clYellow);
  b.SetTransparentMode(tmAuto);
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  b.SetTransparentColor(clDefault);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  b.SetTransparentMode(tmFixed);
  EXPECT_EQ(b.TransparentColor(), clFuchsia) << "fixing keeps the colour it had";
  TBitmap empty;
  EXPECT_EQ(empty.TransparentColor(), clDefault);
}

// A 6 x 6 picture: a magenta ground with a 2 x 2 red block in the middle.
void MakeSprite(TBitmap& s) {
  s.SetSize(6, 6);
  Fill(s, clFuchsia);
  s.Canvas()->Brush()->SetColor(clRed);
  s.Canvas()->FillRect(sys::RECT{2, 2, 4, 4});
}

TEST(Bitmap, TransparentDrawingLeavesTheKeyedPixels) {
  TBitmap sprite;
  MakeSprite(sprite);
  TBitmap target(10, 10);
  Fill(target, clBlue);

  target.Canvas()->Draw(0, 0, &sprite); // opaque
  EXPECT_EQ(target.Canvas()->Pixels(0, 0), clFuchsia);

  Fill(target, clBlue);
  sprite.SetTransparent(true); // tmAuto: the bottom-left pixel is magenta
  target.Canvas()->Draw(2, 2, &sprite);
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), clBlue);
  EXPECT_EQ(target.Canvas()->Pixels(4, 4), clRed);
  EXPECT_EQ(target.Canvas()->Pixels(7, 7), clBlue);

  Fill(target, clBlue);
  sprite.SetTransparentColor(clRed); // tmFixed: now the block is the key
  target.Canvas()->Draw(2, 2, &sprite);
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), clFuchsia);
  EXPECT_EQ(target.Canvas()->Pixels(4, 4), clBlue);

  Fill(target, clBlue);
  sprite.SetTransparentColor(clFuchsia);
  target.Canvas()->StretchDraw(sys::RECT{0, 0, 10, 10}, &sprite);
  EXPECT_EQ(target.Canvas()->Pixels(0, 0), clBlue);
  EXPECT_EQ(target.Canvas()->Pixels(5, 5), clRed);
  testing::SavePicture(target.Handle()->surface, "bitmap_transparent_stretch");
}

TEST(Bitmap, DrawingOnTheCanvasReportsAChange) {
  TBitmap b(2, 2);
  int changes = 0;
  b.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &b);
    ++changes;
  };
  b.Canvas()->FillRect(sys::RECT{0, 0, 1, 1});
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(b.Modified());
}

TEST(Bitmap, MissingResourceRaisesAndKeepsThePicture) {
  TBitmap b(2, 2);
  EXPECT_THROW(b.LoadFromResourceName(nullptr, "NO_SUCH_BITMAP_NAME"), EResNotFound);
  EXPECT_EQ(b.Width(), 2);
}

TEST(Bitmap, StreamsRoundTripBothDepthsAndLeaveTrailingData) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    TBitmap a(5, 3, format);
    Fill(a, clTeal);
    a.Canvas()->SetPixels(4, 0, clRed);
    a.Canvas()->SetPixels(0, 2, clYellow);
    if (format == pf32bit) a.ScanLine(1)[1] = 0x7F010203;
    TMemoryStream stream;
    a.SaveToStream(stream);
    stream.WriteU32(0xDEADBEEF); // someone else's data after the picture
    stream.SetPosition(0);
    TBitmap b;
    b.LoadFromStream(stream);
    EXPECT_EQ(stream.ReadU32(), 0xDEADBEEFu) << "the reader stops at the picture's end";
    EXPECT_EQ(b.PixelFormat(), format);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Canvas()->Pixels(4, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(0, 2), clYellow);
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), clTeal);
    if (format == pf32bit) {
      EXPECT_EQ(b.ScanLine(1)[1], 0x7F010203u);
    }
    EXPECT_TRUE(a.Equals(&b));
    b.Canvas()->SetPixels(0, 0, clBlack);
    EXPECT_FALSE(a.Equals(&b));
  }
}

TEST(Bitmap, DamagedStreamsRaiseAndChangeNothing) {
  TBitmap b(2, 2);
  Fill(b, clRed);
  TMemoryStream good;
  b.SaveToStream(good);

  const auto expectRejected = [&](std::vector<uint8_t> bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    stream.SetPosition(0);
    TBitmap target(1, 1);
    EXPECT_THROW(target.LoadFromStream(stream), EInvalidGraphic);
    EXPECT_EQ(stream.Position(), 0) << "the stream is set back";
    EXPECT_EQ(target.Width(), 1);
  };
  std::vector<uint8_t> bytes = good.Bytes();
  expectRejected({});
  expectRejected(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20));
  std::vector<uint8_t> wrongMagic = bytes;
  wrongMagic[0] = 'X';
  expectRejected(wrongMagic);
  std::vector<uint8_t> truncated(bytes.begin(), bytes.end() - 4);
  expectRejected(truncated); // the size field promises more than there is
  std::vector<uint8_t> badDepth = bytes;
  badDepth[28] = 7;
  expectRejected(badDepth);
}

TEST(Bitmap, FilesRoundTrip) {
  const std::string path = std::string(ZEL_BINARY_DIR) + "/pictures/bitmap_file_test.bmp";
  std::filesystem::create_directories(std::string(ZEL_BINARY_DIR) + "/pictures");
  TBitmap a(3, 2);
  Fill(a, clOlive);
  a.SaveToFile(path);
  TBitmap b;
  b.LoadFromFile(path);
  EXPECT_TRUE(a.Equals(&b));
  EXPECT_THROW(b.LoadFromFile(path + ".missing"), EFOpenError);
  TClipboardFormat format = 0;
  uintptr_t data = 0;
  HPALETTE palette = 0;
  EXPECT_THROW(b.SaveToClipboardFormat(format, data, palette), EInvalidGraphicOperation);
}

} // namespace
} // namespace zel
