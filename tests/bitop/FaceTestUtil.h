#pragma once
// Faces for the renderer tests: a face of a given border and state with a
// solid red 16 x 16 (or smaller) image, composed into the cache and read
// back pixel by pixel.

#include <memory>

#include "bitop/RichImageList.h"
#include "tests/bitop/BitOpTestUtil.h"

namespace zel::test {

// The colour of a pixel as 0x00RRGGBB, for comparison with Rgb().
inline uint32_t Rgb(TColor c) {
  return sys::PixelFromColorRef(ColorToColorRef(c)) & 0xFFFFFFu;
}

constexpr uint32_t kRed = 0xFF0000u;

// An opaque colour blended over another at the given opacity, channel by
// channel with the blending rule: opacity 255 still lets 1/256 through.
inline uint32_t Over(uint32_t top, uint32_t under, int opacity = 255) {
  const uint32_t sa = (255u * uint32_t(opacity) + 254) >> 8;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t v = (((top >> shift & 0xFF) * sa + 254) >> 8) +
                       (((under >> shift & 0xFF) * (255 - sa) + 254) >> 8);
    out |= (v > 255 ? 255 : v) << shift;
  }
  return out;
}
// A colour under a fully transparent pixel of a blended face.
inline uint32_t Under(uint32_t c) {
  return Over(0, c, 0);
}

class FaceTest : public BitOpTest {
protected:
  void SetUp() override {
    BitOpTest::SetUp();
    Images = MakeImages(16);
    SmallImages = MakeImages(5);
  }
  void TearDown() override {
    Images.reset();
    SmallImages.reset();
    BitOpTest::TearDown();
  }

  static std::unique_ptr<TImageList> MakeImages(int side) {
    auto list = std::make_unique<TImageList>(side, side, nullptr);
    TBitmap red(side, side, pf32bit);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(sys::RECT{0, 0, side, side});
    list->Add(&red, nullptr);
    return list;
  }

  // A rich image of the given border and state with the 16-pixel image.
  std::unique_ptr<TRichImageList> Face(TZelButtonBorder border, int size = 24) {
    auto f = std::make_unique<TRichImageList>();
    f->SetBorder(border);
    f->SetWidth(size);
    f->SetHeight(size);
    f->SetEnabled(true);
    f->SetColor(clBtnFace);
    f->SetSelectedColor(clDefault);
    f->SetFrameColor(clDefault);
    f->SetImageList(size >= 20 ? Images.get() : SmallImages.get());
    f->SetImageIndex(0);
    f->SetSubstitute(true);
    return f;
  }

  // Draws the face onto a target of its size filled with background and
  // returns the target.
  std::unique_ptr<TBitmap> DrawOn(TRichImageList& face, TColor background = clLime) {
    auto target = std::make_unique<TBitmap>(face.Width(), face.Height(), pf32bit);
    target->Canvas()->Brush()->SetColor(background);
    target->Canvas()->FillRect(sys::RECT{0, 0, face.Width(), face.Height()});
    face.Draw(target->Canvas(), sys::RECT{0, 0, face.Width(), face.Height()});
    return target;
  }

  static uint32_t At(TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFFu; }
  static uint32_t AlphaAt(TBitmap& b, int x, int y) { return b.ScanLine(y)[x] >> 24; }

  std::unique_ptr<TImageList> Images, SmallImages;
};

} // namespace zel::test
