#pragma once
// A memory context with its own 32-bit bitmap, for pixel probes.

#include <filesystem>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Png.h"

namespace zel::sys::testing {

class TestCanvas {
public:
  TestCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) {
    dc = CreateCompatibleDC(nullptr);
    bmp = CreateBitmap(w, h, 32);
    old = SelectObject(dc, bmp);
    for (Pixel& p : bmp->surface.Pixels())
      p = PixelFromColorRef(fill);
  }
  ~TestCanvas() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;

  // The colour of a target pixel, bypassing any clip.
  COLORREF At(int x, int y) const { return ColorRefFromPixel(bmp->surface.At(x, y)); }
  Pixel Raw(int x, int y) const { return bmp->surface.At(x, y); }
  int Count(COLORREF c) const {
    int n = 0;
    for (Pixel p : bmp->surface.Pixels())
      n += ColorRefFromPixel(p) == c;
    return n;
  }
  // Writes the picture for a person to look at.
  void Save(const std::string& name) const {
    const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
    std::filesystem::create_directories(dir);
    WritePng(bmp->surface, dir + "/gdi_" + name + ".png");
  }

  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

} // namespace zel::sys::testing
