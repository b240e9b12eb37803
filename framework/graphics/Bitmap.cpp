#include "framework/graphics/Bitmap.h"
#include "framework/graphics/GraphicsConsts.h"

#include <algorithm>

#include "platform/resource/Bmp.h"
#include "platform/resource/Resource.h"

namespace zel {

namespace {

constexpr int64_t kMaxBitmapPixels = int64_t(1) << 28;

int BitsOf(TPixelFormat format) {
  return format == pf24bit ? 24 : 32;
}

} // namespace

// ---- TBitmapCanvas -----------------------------------------------------------

void TBitmapCanvas::CreateHandle() {
  sys::HDC dc = sys::CreateCompatibleDC(nullptr);
  if (!dc) return;
  FOldBitmap = FBitmap->FHandle ? sys::SelectObject(dc, FBitmap->FHandle) : nullptr;
  SetHandle(dc);
}

void TBitmapCanvas::FreeContext() {
  sys::HDC dc = CurrentHandle();
  if (!dc) return;
  SetHandle(nullptr);
  if (FOldBitmap) sys::SelectObject(dc, FOldBitmap);
  FOldBitmap = nullptr;
  sys::DeleteDC(dc);
}

// ---- TBitmap -------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : FPixelFormat(format) {
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  // The context goes before the bitmap it has selected.
  FCanvas.reset();
  if (FHandle) sys::DeleteObject(FHandle);
}

sys::HBITMAP TBitmap::NewBitmap(int width, int height, TPixelFormat format) {
  return sys::CreateBitmap(width, height, BitsOf(format));
}

void TBitmap::ReplaceHandle(sys::HBITMAP bitmap) {
  if (FCanvas) FCanvas->FreeContext();
  if (FHandle && FHandle != bitmap) sys::DeleteObject(FHandle);
  FHandle = bitmap;
  FWidth = bitmap ? bitmap->surface.Width() : 0;
  FHeight = bitmap ? bitmap->surface.Height() : 0;
}

void TBitmap::Changed(TObject* sender) {
  TGraphic::Changed(sender ? sender : this);
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height()) return;
  if (width == 0 || height == 0) {
    ReplaceHandle(nullptr);
    FWidth = width;
    FHeight = height;
    Changed();
    return;
  }
  // A side past the file format's limit, or more pixels than a gigabyte
  // holds, is refused before anything is allocated.
  if (width > sys::kMaxBmpSide || height > sys::kMaxBmpSide ||
      int64_t(width) * height > kMaxBitmapPixels)
    throw EOutOfMemory(SOutOfBitmapMemory);
  sys::HBITMAP bitmap = NewBitmap(width, height, FPixelFormat);
  if (!bitmap) throw EOutOfMemory(SOutOfBitmapMemory);
  const sys::Pixel white = sys::PixelFromColorRef(sys::RGB(255, 255, 255));
  sys::Surface& to = bitmap->surface;
  std::fill(to.Pixels().begin(), to.Pixels().end(), white);
  if (FHandle) {
    const sys::Surface& from = FHandle->surface;
    const int w = std::min(width, from.Width());
    const int h = std::min(height, from.Height());
    for (int y = 0; y < h; ++y)
      std::copy_n(from.Row(y), w, to.Row(y));
  }
  ReplaceHandle(bitmap);
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    FCanvas->OnChange = [this](TObject*) { Changed(); };
  }
  return FCanvas.get();
}

void TBitmap::SetHandle(sys::HBITMAP bitmap) {
  if (bitmap == FHandle) return;
  ReplaceHandle(bitmap);
  if (bitmap) {
    FPixelFormat = bitmap->bitsPerPixel == 24 ? pf24bit : pf32bit;
    // A bitmap without pixels is an empty picture.
    if (bitmap->surface.Empty()) ReplaceHandle(nullptr);
  }
  Changed();
}

sys::HBITMAP TBitmap::ReleaseHandle() {
  if (FCanvas) FCanvas->FreeContext();
  sys::HBITMAP bitmap = FHandle;
  FHandle = nullptr;
  FWidth = 0;
  FHeight = 0;
  if (bitmap) Changed();
  return bitmap;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FPixelFormat) return;
  FPixelFormat = format;
  if (FHandle) {
    if (FCanvas) FCanvas->FreeContext();
    FHandle->bitsPerPixel = BitsOf(format);
    // A 24-bit picture has no alpha; going back to 32 bits does not bring it back.
    if (format == pf24bit)
      for (sys::Pixel& p : FHandle->surface.Pixels())
        p &= 0x00FFFFFFu;
  }
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (!FHandle) return clDefault;
  const sys::Surface& s = FHandle->surface;
  return TColor(sys::ColorRefFromPixel(s.At(0, s.Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor color) {
  const TTransparentMode mode = color == clDefault ? tmAuto : tmFixed;
  if (color == FTransparentColor && mode == FTransparentMode) return;
  FTransparentColor = color;
  FTransparentMode = mode;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == FTransparentMode) return;
  if (mode == tmAuto) {
    SetTransparentColor(clDefault);
  } else {
    // Fixing the mode keeps the colour the picture has now.
    SetTransparentColor(TransparentColor() == clDefault ? clWhite : TransparentColor());
  }
}

void TBitmap::SetTransparent(bool value) {
  if (value == Transparent()) return;
  TGraphic::SetTransparent(value);
}

sys::Pixel* TBitmap::ScanLine(int row) {
  if (!FHandle || row < 0 || row >= Height()) throw EInvalidGraphicOperation(SScanLine);
  return FHandle->surface.Row(row);
}

void TBitmap::Assign(TPersistent* source) {
  if (source == this) return;
  if (!source) {
    ReplaceHandle(nullptr);
    Changed();
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    sys::HBITMAP copy = nullptr;
    if (bitmap->FHandle) {
      copy = NewBitmap(bitmap->Width(), bitmap->Height(), bitmap->FPixelFormat);
      if (!copy) throw EOutOfMemory(SOutOfBitmapMemory);
      copy->surface = bitmap->FHandle->surface;
    }
    FPixelFormat = bitmap->FPixelFormat;
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    TGraphic::SetTransparent(bitmap->Transparent());
    ReplaceHandle(copy);
    Changed();
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    ReplaceHandle(nullptr);
    SetSize(graphic->Width(), graphic->Height());
    if (!Empty()) Canvas()->Draw(0, 0, graphic);
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas* canvas, const sys::RECT& r) {
  if (!canvas || Empty() || sys::IsRectEmpty(r)) return;
  sys::HDC source = Canvas()->Handle();
  sys::HDC target = canvas->Handle();
  const int w = Width();
  const int h = Height();
  if (Transparent()) {
    const TColor key = TransparentColor();
    sys::TransparentBlt(target, r.left, r.top, r.Width(), r.Height(), source, 0, 0, w, h,
                        ColorToColorRef(key));
  } else if (r.Width() == w && r.Height() == h) {
    sys::BitBlt(target, r.left, r.top, w, h, source, 0, 0, canvas->CopyMode());
  } else {
    sys::StretchBlt(target, r.left, r.top, r.Width(), r.Height(), source, 0, 0, w, h,
                    canvas->CopyMode());
  }
}

void TBitmap::LoadFromResourceName(sys::Module* module, std::string_view name) {
  sys::HBITMAP bitmap = sys::LoadBitmap(module, name);
  if (!bitmap) throw EResNotFound::CreateFmt(SResNotFound, name);
  TGraphic::SetTransparent(false);
  SetHandle(bitmap);
}

} // namespace zel
