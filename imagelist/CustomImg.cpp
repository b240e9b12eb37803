// TCustomImg: composing cells, the update bracket and the deferred change.

#include <algorithm>
#include <cmath>

#include "framework/controls/Control.h"
#include "imagelist/GlyphScale.h"
#include "imagelist/ImageListZel.h"

namespace zel {

namespace {

constexpr sys::Pixel kRgbMask = 0x00FFFFFFu;

sys::Pixel RgbOf(TColor color) {
  return sys::PixelFromColorRef(ColorToColorRef(color)) & kRgbMask;
}

bool IsSet(TColor color) {
  return color != clNone && color != clDefault;
}

// Makes bitmap a 32-bit, non-transparent picture of the size.
void Prepare(TBitmap& bitmap, int width, int height) {
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetTransparent(false);
  bitmap.SetSize(width, height);
}

sys::Surface& PixelsOf(TBitmap& bitmap) {
  return bitmap.Handle()->surface;
}

} // namespace

double FitScale(int Width, int Height, int CellWidth, int CellHeight) {
  if (CellWidth == 0 || CellHeight == 0) return 0;
  const double f = std::min(double(Width) / CellWidth, double(Height) / CellHeight);
  return std::fabs(f - 1) < 0.01 ? 1.0 : f;
}

TCustomImg::TCustomImg(TComponent* owner) : TDragImageList(owner) {}

TCustomImg::~TCustomImg() {
  // The timer's destructor stops it, so no deferred change reaches a list
  // that is gone.
  FTimer.reset();
}

// ---- update bracket and deferred change -------------------------------------------------

void TCustomImg::BeginUpdate() {
  if (FUpdateCount++ == 0) {
    Updating();
    // The cell work bitmaps live for the whole bracket, so that composing
    // many images does not make and free them per image.
    FCellBitmap = std::make_unique<TBitmap>();
    FCellBitmap->SetPixelFormat(pf32bit);
    FScaledBitmap = std::make_unique<TBitmap>();
    FScaledBitmap->SetPixelFormat(pf32bit);
  }
}

void TCustomImg::EndUpdate() {
  if (FUpdateCount <= 0) {
    FUpdateCount = 0;
    return;
  }
  if (--FUpdateCount > 0) return;
  Updated();
  FreeWorkBitmaps();
  Change();
}

void TCustomImg::FreeWorkBitmaps() {
  FCellBitmap.reset();
  FScaledBitmap.reset();
  FCenteredBitmap.reset();
}

void TCustomImg::Change() {
  // Inside the bracket the last EndUpdate issues the change; restarting the
  // timer for every image added on the way would only be undone by it.
  if (FUpdateCount > 0) return;
  if (!FTimer) FTimer = std::make_unique<TInternalTimer>(nullptr);
  FTimer->StartOnce(kChangeDelay, [this](TObject*) { DelayedChange(); });
}

void TCustomImg::StopTimer() {
  TInternalTimer::Stop(FTimer.get());
}

bool TCustomImg::Quiet() const {
  const TComponentState state = ComponentState();
  return !state.Contains(csLoading) && !state.Contains(csDestroying) &&
         !state.Contains(csUpdating) && FUpdateCount == 0;
}

void TCustomImg::DelayedChange() {
  // A change of CustomImg is a change of the list that owns it.
  TCustomImg* list = dynamic_cast<TImageListZel*>(Owner());
  if (list && list != this && list->Quiet()) list->Change();
  if (Quiet()) TCustomImageList::Change();
}

// ---- copying ------------------------------------------------------------------------------

void TCustomImg::Assign(TPersistent* source) {
  if (source == this) return;
  auto* img = dynamic_cast<TCustomImg*>(source);
  if (source && !img) {
    BeginUpdate();
    try {
      TDragImageList::Assign(source);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  BeginUpdate();
  try {
    Clear();
    if (!img) {
      SetBlendColor(clNone);
      SetBkColor(clNone);
      SetMasked(true);
      SetTag(0);
      SetSize(16, 16);
    } else {
      SetSize(img->Width(), img->Height());
      SetBkColor(img->BkColor());
      SetBlendColor(img->BlendColor());
      if (img->Count() > 0) AddImages(img);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- composing ----------------------------------------------------------------------------

TColor TCustomImg::GetBackColor() const {
  TColor color = BkColor();
  if (!IsSet(color))
    if (auto* control = dynamic_cast<TControl*>(Owner()))
      if (IsSet(control->Color())) color = control->Color();
  if (!IsSet(color))
    if (auto* owner = dynamic_cast<TCustomImg*>(Owner()))
      if (IsSet(owner->BkColor())) color = owner->BkColor();
  if (!IsSet(color)) color = clBtnShadow;
  return ColorToRGB(color);
}

int TCustomImg::AddStrip(int index, TBitmap* strip, int cellWidth, int cellHeight, int count) {
  if (!strip || cellWidth <= 0 || cellHeight <= 0) return 0;
  BeginUpdate();
  int result = 0;
  try {
    if (count < 0) {
      PutImage(index, strip, sys::RECT{0, 0, strip->Width(), strip->Height()});
      result = strip->Empty() ? 0 : 1;
    } else {
      const int cols = (strip->Width() + cellWidth - 1) / cellWidth;
      const int rows = (strip->Height() + cellHeight - 1) / cellHeight;
      int n = cols * rows;
      if (count > 0 && count < n) n = count;
      for (int k = 0; k < n; ++k) {
        const int col = k % cols;
        const int row = k / cols;
        PutImage(index + k, strip,
                 sys::RECT{cellWidth * col, cellHeight * row, cellWidth * (col + 1),
                           cellHeight * (row + 1)});
      }
      result = n;
      if (count > n) {
        // The cells the strip lacks show as crossed boxes, so a short strip
        // is visible at once and the indexes after it stay where they are.
        // One box is drawn and put as often as needed: a single bitmap of
        // all of them could exceed what a bitmap may hold.
        TBitmap box;
        box.SetPixelFormat(pf32bit);
        box.SetSize(Width(), Height());
        TCanvas* canvas = box.Canvas();
        canvas->Brush()->SetColor(TColor(0xFF00FF));
        canvas->Rectangle(0, 0, Width(), Height());
        canvas->MoveTo(0, 0);
        canvas->LineTo(Width(), Height());
        canvas->MoveTo(Width() - 1, 0);
        canvas->LineTo(0, Height() - 1);
        for (int k = n; k < count; ++k) {
          if (index + k < Count())
            ReplaceMasked(index + k, &box, TColor(0xFF00FF));
          else
            AddMasked(&box, TColor(0xFF00FF));
        }
        result = count;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return result;
}

void TCustomImg::PutImage(int index, TBitmap* source, const sys::RECT& rect) {
  if (!source) return;
  const int w = std::abs(rect.right - rect.left);
  const int h = std::abs(rect.bottom - rect.top);
  const double f = FitScale(Width(), Height(), w, h);
  if (f == 0) return;

  // Work bitmaps made here go again on the way out; inside an update bracket
  // they already exist and stay.
  const bool hadCell = FCellBitmap != nullptr;
  const bool hadScaled = FScaledBitmap != nullptr;
  const bool hadCentred = FCenteredBitmap != nullptr;
  struct Release {
    TCustomImg& self;
    bool cell, scaled, centred;
    ~Release() {
      if (!cell) self.FCellBitmap.reset();
      if (!scaled) self.FScaledBitmap.reset();
      if (!centred) self.FCenteredBitmap.reset();
    }
  } release{*this, hadCell, hadScaled, hadCentred};
  if (!FCellBitmap) FCellBitmap = std::make_unique<TBitmap>();
  if (!FScaledBitmap) FScaledBitmap = std::make_unique<TBitmap>();

  const TColor back = GetBackColor();
  const sys::Pixel backRgb = RgbOf(back);

  // The cell: the source's pixels, marked drawn (alpha 255) unless they are
  // the source's transparent colour or the background colour, outside the
  // source the background.
  Prepare(*FCellBitmap, w, h);
  sys::Surface& cell = PixelsOf(*FCellBitmap);
  std::fill(cell.Pixels().begin(), cell.Pixels().end(), backRgb);
  if (!source->Empty()) {
    const sys::Surface& src = PixelsOf(*source);
    const bool keyed = source->Transparent() && IsSet(ColorToRGB(source->TransparentColor()));
    const sys::Pixel key = keyed ? RgbOf(ColorToRGB(source->TransparentColor())) : 0;
    const int left = std::min(rect.left, rect.right);
    const int top = std::min(rect.top, rect.bottom);
    for (int y = 0; y < h; ++y) {
      const int sy = top + y;
      if (sy < 0 || sy >= src.Height()) continue;
      for (int x = 0; x < w; ++x) {
        const int sx = left + x;
        if (sx < 0 || sx >= src.Width()) continue;
        const sys::Pixel p = src.At(sx, sy) & kRgbMask;
        if ((keyed && p == key) || p == backRgb) continue;
        cell.At(x, y) = p | glyphscale::kDrawn;
      }
    }
  }

  TBitmap* result = FCellBitmap.get();
  if (f != 1) {
    const int sw = int(std::lround(w * f));
    const int sh = int(std::lround(h * f));
    Prepare(*FScaledBitmap, std::max(sw, 1), std::max(sh, 1));
    glyphscale::ScaleCell(cell, PixelsOf(*FScaledBitmap), std::max(sw, 1), std::max(sh, 1),
                          backRgb);
    result = FScaledBitmap.get();
  }

  if (result->Width() != Width() || result->Height() != Height()) {
    if (!FCenteredBitmap) FCenteredBitmap = std::make_unique<TBitmap>();
    Prepare(*FCenteredBitmap, Width(), Height());
    sys::Surface& centred = PixelsOf(*FCenteredBitmap);
    std::fill(centred.Pixels().begin(), centred.Pixels().end(), 0);
    const sys::Surface& from = PixelsOf(*result);
    const int dx = (Width() - from.Width()) / 2;
    const int dy = (Height() - from.Height()) / 2;
    for (int y = 0; y < from.Height(); ++y) {
      if (y + dy < 0 || y + dy >= Height()) continue;
      for (int x = 0; x < from.Width(); ++x)
        if (x + dx >= 0 && x + dx < Width()) centred.At(x + dx, y + dy) = from.At(x, y);
    }
    result = FCenteredBitmap.get();
  }

  // Undrawn pixels become exactly the background colour, which is then
  // masked out; a drawn pixel that happens to have that colour (a glyph
  // pixel of it, or a faint edge blended over it) is moved off it by one
  // step of blue, or it would vanish.
  for (sys::Pixel& p : PixelsOf(*result).Pixels()) {
    if ((p & glyphscale::kDrawn) == 0)
      p = backRgb;
    else if ((p & kRgbMask) == backRgb)
      p = backRgb ^ 1u;
    else
      p &= kRgbMask;
  }
  StoreImage(index, result, back);
}

void TCustomImg::StoreImage(int index, TBitmap* image, TColor back) {
  if (index >= 0 && index < Count())
    ReplaceMasked(index, image, back);
  else
    AddMasked(image, back);
}

} // namespace zel
