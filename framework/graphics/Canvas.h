#pragma once
// TCanvas: drawing on a device context with a pen, a brush and a font that
// are selected into the context only when a drawing call needs them.  A
// canvas over a window context gets its handle from its user (SetHandle);
// a bitmap's canvas makes its own memory context (CreateHandle).

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "framework/core/Set.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"

namespace zel {

class TGraphic;

enum TCanvasState { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasStates = TSet<TCanvasState>;

class TCanvas : public TPersistent {
  ZEL_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas() override;

  // The device context; asks CreateHandle for one when there is none.
  sys::HDC Handle();
  // Takes a context made elsewhere (nullptr lets it go).  The pen, brush and
  // font are given back to a context that is let go, so whoever made the
  // context lets the canvas go first and then releases or deletes it; the
  // canvas touches its context again when it is destroyed.
  void SetHandle(sys::HDC dc);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() { return FFont.get(); }
  TPen* Pen() { return FPen.get(); }
  TBrush* Brush() { return FBrush.get(); }
  void SetFont(TFont* font) { FFont->Assign(font); }
  void SetPen(TPen* pen) { FPen->Assign(pen); }
  void SetBrush(TBrush* brush) { FBrush->Assign(brush); }

  // A counting lock, for code that hands the context elsewhere for a while.
  void Lock() { ++FLockCount; }
  void Unlock() {
    if (FLockCount > 0) --FLockCount;
  }
  bool TryLock() {
    if (FLockCount > 0) return false;
    Lock();
    return true;
  }
  int LockCount() const { return FLockCount; }

  // The raster operation of CopyRect and of drawing bitmaps.
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode mode) { FCopyMode = mode; }

  sys::POINT PenPos();
  void SetPenPos(sys::POINT p) { MoveTo(p.x, p.y); }
  // The clip box of the context in logical coordinates.
  sys::RECT ClipRect();

  void MoveTo(int x, int y);
  // Draws to (x, y), not including that point, and moves the pen there.
  void LineTo(int x, int y);
  void Rectangle(int l, int t, int r, int b);
  void Rectangle(const sys::RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int l, int t, int r, int b, int w, int h);
  void Ellipse(int l, int t, int r, int b);
  void Ellipse(const sys::RECT& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
  void Polygon(std::span<const sys::POINT> points);
  void Polyline(std::span<const sys::POINT> points);
  // Fills with the brush; FrameRect outlines one pixel wide with it.
  void FillRect(const sys::RECT& r);
  void FrameRect(const sys::RECT& r);
  // A dotted outline that inverts every other pixel of r's edge, so drawing
  // it twice takes it away again.
  void DrawFocusRect(const sys::RECT& r);
  // The colour of a pixel, or clNone outside the clip.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  // Text in the font's colour; over the brush colour unless the brush is
  // clear.  The pen position moves to the end of the text.
  void TextOut(int x, int y, std::string_view text);
  // Text at (x, y) clipped to r, which is first filled unless the brush is
  // clear.
  void TextRect(const sys::RECT& r, int x, int y, std::string_view text);
  // Text laid out in r by DrawText flags (DT_*); with DT_CALCRECT r receives
  // the space the text needs and nothing is drawn.  Returns the text height.
  int TextRect(sys::RECT& r, std::string_view text, sys::UINT format);
  sys::SIZE TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  // Draws a graphic at its own size, or stretched into r.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const sys::RECT& r, TGraphic* graphic);
  // Copies a rectangle of another canvas, stretched, with CopyMode.
  void CopyRect(const sys::RECT& dest, TCanvas* canvas, const sys::RECT& source);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // Called around every drawing call.
  virtual void Changing();
  virtual void Changed();

  // Gives the pen, brush and font back to the context; the next drawing call
  // selects them again (for code that changed the context directly).
  void Refresh() { DeselectHandles(); }

  // Selects into the context what the flags ask for.
  void RequiredState(TCanvasStates state);
  TCanvasStates State() const { return FState; }

protected:
  // Makes a context for a canvas that has none (a bitmap's canvas does).
  virtual void CreateHandle() {}
  // The context as it is, without asking CreateHandle for one.
  sys::HDC CurrentHandle() const { return FHandle; }
  // Gives back the pen, brush and font to the context before it goes or
  // before they change.
  void DeselectHandles();

private:
  void CreatePen();
  void CreateBrush();
  void CreateFont();
  void PenChanged();
  void BrushChanged();
  void FontChanged();

  sys::HDC FHandle = nullptr;
  TCanvasStates FState;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  sys::POINT FPenPos{};
  TCopyMode FCopyMode = cmSrcCopy;
  int FLockCount = 0;
};

} // namespace zel
