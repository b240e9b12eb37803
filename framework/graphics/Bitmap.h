#pragma once
// TBitmap: a picture held in a bitmap of the system layer, 24 or 32 bits
// deep, with a canvas to draw on it, transparent drawing through a colour
// key, and storage as a bitmap file.

#include <memory>
#include <string_view>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphic.h"
#include "platform/gdi/Gdi.h"

namespace zel::sys {
struct Module;
}

namespace zel {

class TBitmap;

// The canvas of a bitmap: a memory context with the bitmap selected, made
// when first drawn on and let go whenever the bitmap's handle changes.
class TBitmapCanvas : public TCanvas {
  ZEL_CLASS(TBitmapCanvas, TCanvas)
public:
  explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }
  // Gives the bitmap back and deletes the context.
  void FreeContext();

protected:
  void CreateHandle() override;

private:
  TBitmap* FBitmap;
  sys::HGDIOBJ FOldBitmap = nullptr;
};

ZEL_EXCEPTION(EResNotFound, Exception);

class TBitmap : public TGraphic {
  ZEL_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pfDevice);
  ~TBitmap() override;

  // From a bitmap: a copy of its pixels and settings; from nil: empty; from
  // another graphic: that graphic drawn on white at its size.
  void Assign(TPersistent* source) override;

  void Draw(TCanvas* canvas, const sys::RECT& r) override;
  // A picture with a side of 0 is empty, but keeps the other side, so the
  // sides can be set one after the other.
  bool Empty() const override { return FHandle == nullptr; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Resizing keeps the top-left part of the picture; new pixels are white.
  // A side above 32768 pixels, or above 2^28 pixels in all, raises
  // EOutOfMemory and leaves the picture as it was.
  void SetWidth(int width) override { SetSize(width, Height()); }
  void SetHeight(int height) override { SetSize(Width(), height); }
  void SetSize(int width, int height) override;

  TCanvas* Canvas();
  // The bitmap of the system layer, owned by this object; nullptr while the
  // picture is empty.
  sys::HBITMAP Handle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Takes over a bitmap (its depth decides the pixel format); nullptr empties.
  void SetHandle(sys::HBITMAP bitmap);
  // Hands the bitmap to the caller, who then deletes it; this picture is
  // empty afterwards.
  sys::HBITMAP ReleaseHandle();

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // pfDevice and pf32bit are 32 bits deep; pf24bit keeps no alpha.
  void SetPixelFormat(TPixelFormat format);

  // With tmAuto the colour of the bottom-left pixel (clDefault while empty),
  // with tmFixed the colour set.
  TColor TransparentColor() const;
  // clDefault returns to tmAuto; any other colour fixes it (tmFixed).
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode mode);
  void SetTransparent(bool value) override;

  // The pixels of a row, top row 0, four bytes (blue, green, red, alpha) per
  // pixel in every format.  Raises EInvalidGraphicOperation for a row outside
  // the picture.
  sys::Pixel* ScanLine(int row);

  // Bitmap files: 24- and 32-bit, uncompressed.  A file that cannot be read
  // raises EInvalidGraphic and leaves the picture and the stream position as
  // they were.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // A named bitmap resource of a module (nullptr: the program's own);
  // EResNotFound when it is missing or unusable.
  void LoadFromResourceName(sys::Module* module, std::string_view name);

  // Nothing is held twice here, so both only exist for callers that use them.
  void Dormant() {}
  void FreeImage() {}

protected:
  void Changed(TObject* sender = nullptr) override;

private:
  friend class TBitmapCanvas;
  // Puts a new bitmap in place of the old one, letting the canvas context go
  // first so that the old one is not selected when it is deleted.
  void ReplaceHandle(sys::HBITMAP bitmap);
  static sys::HBITMAP NewBitmap(int width, int height, TPixelFormat format);

  sys::HBITMAP FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

// Writes a surface as a bitmap file of 24 or 32 bits, rows bottom-up.
std::vector<uint8_t> EncodeBmp(const sys::Surface& pixels, int bitsPerPixel);

} // namespace zel
