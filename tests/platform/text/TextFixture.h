#pragma once
// A white 32-bit memory bitmap in a memory context, with helpers to select a
// font and to find the pixels text has drawn.

#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"

namespace zel::sys::testing {

constexpr COLORREF kWhite = RGB(255, 255, 255);

class TextTest : public ::testing::Test {
protected:
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 200;

  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(kWidth, kHeight, 32);
    old_ = SelectObject(dc_, bitmap_);
    Clear();
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    UseDefaultFont();
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }

  // Selects a new font; the previous one made here is deleted.
  void UseFont(LONG height, LONG escapement = 0, LONG weight = FW_NORMAL,
               const std::string& face = "Tahoma") {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfWeight = weight;
    lf.lfFaceName = face;
    UseFont(lf);
  }
  void UseFont(const LOGFONT& lf) {
    HFONT font = CreateFontIndirect(lf);
    SelectObject(dc_, font);
    if (font_) DeleteObject(font_);
    font_ = font;
  }
  void UseDefaultFont() {
    SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    if (font_) DeleteObject(font_);
    font_ = nullptr;
  }

  void Clear(COLORREF c = kWhite) {
    for (Pixel& p : Target().Pixels())
      p = PixelFromColorRef(c, 0xFF);
  }
  Surface& Target() { return bitmap_->surface; }
  COLORREF At(int x, int y) { return ColorRefFromPixel(Target().At(x, y)); }

  // The bounding box of every pixel that is not the background colour.
  RECT Ink(COLORREF background = kWhite) {
    RECT box{kWidth, kHeight, 0, 0};
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (At(x, y) != background) {
          box.left = std::min(box.left, x), box.top = std::min(box.top, y);
          box.right = std::max(box.right, x + 1), box.bottom = std::max(box.bottom, y + 1);
        }
    return IsRectEmpty(box) ? RECT{} : box;
  }
  // The total darkness drawn (black text on white): a measure of coverage.
  long Darkness() {
    long sum = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        sum += 255 - GetGValue(At(x, y));
    return sum;
  }
  int Width(const std::string& text) {
    SIZE size;
    EXPECT_TRUE(GetTextExtentPoint32(dc_, text, &size));
    return size.cx;
  }
  TEXTMETRIC Metrics() {
    TEXTMETRIC tm;
    EXPECT_TRUE(GetTextMetrics(dc_, &tm));
    return tm;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  HFONT font_ = nullptr;
};

inline const std::string kSettings = "Настройка внешнего вида";

} // namespace zel::sys::testing
