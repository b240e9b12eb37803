#include "framework/graphics/Canvas.h"
#include "framework/graphics/GraphicsConsts.h"

#include "framework/core/Exceptions.h"
#include "framework/graphics/Graphic.h"
#include "platform/text/Text.h"

namespace zel {

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FPen->OnChange = [this](TObject*) { PenChanged(); };
  FBrush->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() {
  // The pen, brush and font must not stay selected in a context they outlive
  // it in, and they are deleted right after this.
  DeselectHandles();
}

sys::HDC TCanvas::Handle() {
  RequiredState({csHandleValid});
  return FHandle;
}

void TCanvas::SetHandle(sys::HDC dc) {
  if (dc == FHandle) return;
  DeselectHandles();
  FHandle = dc;
  FState = dc ? TCanvasStates{csHandleValid} : TCanvasStates{};
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState.Contains(csPenValid)) sys::SelectObject(FHandle, sys::GetStockObject(sys::BLACK_PEN));
  if (FState.Contains(csBrushValid))
    sys::SelectObject(FHandle, sys::GetStockObject(sys::WHITE_BRUSH));
  if (FState.Contains(csFontValid))
    sys::SelectObject(FHandle, sys::GetStockObject(sys::SYSTEM_FONT));
  FState -= TCanvasStates{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::RequiredState(TCanvasStates state) {
  const TCanvasStates needed = state - FState;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation(SNoCanvasHandle);
    FState += csHandleValid;
  }
  if (needed.Contains(csFontValid)) CreateFont();
  if (needed.Contains(csPenValid)) CreatePen();
  if (needed.Contains(csBrushValid)) CreateBrush();
}

void TCanvas::CreateFont() {
  sys::SelectObject(FHandle, FFont->Handle());
  sys::SetTextColor(FHandle, ColorToColorRef(FFont->Color()));
  FState += csFontValid;
}

void TCanvas::CreatePen() {
  sys::SelectObject(FHandle, FPen->Handle());
  FState += csPenValid;
}

void TCanvas::CreateBrush() {
  sys::SelectObject(FHandle, FBrush->Handle());
  if (FBrush->Style() == bsClear) {
    sys::SetBkMode(FHandle, sys::TRANSPARENT);
  } else {
    sys::SetBkColor(FHandle, ColorToColorRef(FBrush->Color()));
    sys::SetBkMode(FHandle, sys::OPAQUE);
  }
  FState += csBrushValid;
}

void TCanvas::PenChanged() {
  if (FHandle && FState.Contains(csPenValid)) {
    sys::SelectObject(FHandle, sys::GetStockObject(sys::BLACK_PEN));
    FState -= csPenValid;
  }
}

void TCanvas::BrushChanged() {
  if (FHandle && FState.Contains(csBrushValid)) {
    sys::SelectObject(FHandle, sys::GetStockObject(sys::WHITE_BRUSH));
    FState -= csBrushValid;
  }
}

void TCanvas::FontChanged() {
  if (FHandle && FState.Contains(csFontValid)) {
    sys::SelectObject(FHandle, sys::GetStockObject(sys::SYSTEM_FONT));
    FState -= csFontValid;
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

sys::POINT TCanvas::PenPos() {
  return FPenPos;
}

sys::RECT TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  sys::RECT box{};
  sys::GetClipBox(FHandle, &box);
  return box;
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState({csHandleValid});
  sys::MoveToEx(FHandle, x, y, nullptr);
  FPenPos = sys::POINT{x, y};
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  sys::LineTo(FHandle, x, y);
  FPenPos = sys::POINT{x, y};
  Changed();
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  sys::Rectangle(FHandle, l, t, r, b);
  Changed();
}

void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  sys::RoundRect(FHandle, l, t, r, b, w, h);
  Changed();
}

void TCanvas::Ellipse(int l, int t, int r, int b) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  sys::Ellipse(FHandle, l, t, r, b);
  Changed();
}

void TCanvas::Polygon(std::span<const sys::POINT> points) {
  if (points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  sys::Polygon(FHandle, points.data(), int(points.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const sys::POINT> points) {
  if (points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  sys::Polyline(FHandle, points.data(), int(points.size()));
  Changed();
}

void TCanvas::FillRect(const sys::RECT& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  sys::FillRect(FHandle, r, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const sys::RECT& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  sys::FrameRect(FHandle, r, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const sys::RECT& r) {
  if (sys::IsRectEmpty(r)) return;
  Changing();
  RequiredState({csHandleValid});
  const auto invert = [this](int x, int y) {
    const sys::COLORREF c = sys::GetPixel(FHandle, x, y);
    if (c != sys::CLR_INVALID) sys::SetPixel(FHandle, x, y, ~c & 0x00FFFFFFu);
  };
  // Walk the edge once, clockwise, so that each pixel is visited once and
  // the dots keep their phase around the corners.
  int step = 0;
  const auto visit = [&](int x, int y) {
    if (step++ % 2 == 0) invert(x, y);
  };
  for (int x = r.left; x < r.right; ++x)
    visit(x, r.top);
  for (int y = r.top + 1; y < r.bottom; ++y)
    visit(r.right - 1, y);
  if (r.bottom - 1 > r.top)
    for (int x = r.right - 2; x >= r.left; --x)
      visit(x, r.bottom - 1);
  if (r.right - 1 > r.left)
    for (int y = r.bottom - 2; y > r.top; --y)
      visit(r.left, y);
  Changed();
}

TColor TCanvas::Pixels(int x, int y) {
  RequiredState({csHandleValid});
  const sys::COLORREF c = sys::GetPixel(FHandle, x, y);
  return c == sys::CLR_INVALID ? clNone : TColor(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  sys::SetPixel(FHandle, x, y, ColorToColorRef(color));
  Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  sys::TextOut(FHandle, x, y, text);
  sys::SIZE extent{};
  sys::GetTextExtentPoint32(FHandle, text, &extent);
  MoveTo(x + extent.cx, y);
  Changed();
}

void TCanvas::TextRect(const sys::RECT& r, int x, int y, std::string_view text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  sys::UINT options = sys::ETO_CLIPPED;
  if (FBrush->Style() != bsClear) options |= sys::ETO_OPAQUE;
  sys::ExtTextOut(FHandle, x, y, options, &r, text);
  Changed();
}

int TCanvas::TextRect(sys::RECT& r, std::string_view text, sys::UINT format) {
  const bool draws = (format & sys::DT_CALCRECT) == 0;
  if (draws) Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  const int height = sys::DrawText(FHandle, text, &r, format);
  if (draws) Changed();
  return height;
}

sys::SIZE TCanvas::TextExtent(std::string_view text) {
  RequiredState({csHandleValid, csFontValid});
  sys::SIZE extent{};
  sys::GetTextExtentPoint32(FHandle, text, &extent);
  return extent;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  graphic->Draw(this, sys::RECT{x, y, x + graphic->Width(), y + graphic->Height()});
  Changed();
}

void TCanvas::StretchDraw(const sys::RECT& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const sys::RECT& dest, TCanvas* canvas, const sys::RECT& source) {
  if (!canvas) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  sys::HDC src = canvas->Handle();
  if (dest.Width() == source.Width() && dest.Height() == source.Height())
    sys::BitBlt(FHandle, dest.left, dest.top, dest.Width(), dest.Height(), src, source.left,
                source.top, FCopyMode);
  else
    sys::StretchBlt(FHandle, dest.left, dest.top, dest.Width(), dest.Height(), src, source.left,
                    source.top, source.Width(), source.Height(), FCopyMode);
  Changed();
}

} // namespace zel
