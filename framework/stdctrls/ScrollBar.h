#pragma once
// Scroll bars drawn by the framework.  TDrawnScrollBar is the logic and the
// look of one bar inside a rectangle of its host (the grid, the drop-down
// list): arrows, a page area on each side of the thumb and the thumb, with
// repeating arrows and pages while the button is held and thumb dragging.
// It reports requests with the SB_* codes; the host applies them and gives
// the bar its new position.  TScrollBar is the same bar as a control.

#include <functional>
#include <memory>

#include "framework/controls/CustomControl.h"
#include "framework/stdctrls/StdCtrlTypes.h"

namespace zel {

class TTimer;

enum TScrollBarPart { spNone, spLineUp, spPageUp, spThumb, spPageDown, spLineDown };

class TDrawnScrollBar {
public:
  explicit TDrawnScrollBar(TScrollBarKind kind = sbVertical);
  ~TDrawnScrollBar();
  TDrawnScrollBar(const TDrawnScrollBar&) = delete;
  TDrawnScrollBar& operator=(const TDrawnScrollBar&) = delete;

  TScrollBarKind Kind() const { return FKind; }
  const sys::RECT& Bounds() const { return FBounds; }
  void SetBounds(const sys::RECT& r) { FBounds = r; }
  // Range min..max with page items visible; positions run from min to
  // max - page + 1.
  void SetParams(int min, int max, int page, int position);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Page() const { return FPage; }
  int Position() const { return FPosition; }
  int MaxPosition() const;
  void SetPosition(int position);
  bool Enabled() const { return FMax - FMin + 1 > FPage; }

  // Geometry of the parts, in host coordinates.
  int ArrowSize() const;
  sys::RECT PartRect(TScrollBarPart part) const;
  TScrollBarPart HitTest(sys::POINT p) const;

  void Paint(TCanvas* canvas) const;

  // Mouse input in host coordinates; MouseDown returns true when the press
  // hit the bar (the host should then capture the mouse).
  bool MouseDown(sys::POINT p);
  void MouseMove(sys::POINT p);
  void MouseUp(sys::POINT p);
  bool Tracking() const { return FPressed != spNone; }

  // A request: SB_LINEUP, SB_PAGEDOWN, SB_THUMBTRACK (with the position the
  // thumb stands for), SB_THUMBPOSITION, SB_ENDSCROLL...
  std::function<void(sys::WORD code, int position)> OnScroll;
  // The bar needs painting again.
  std::function<void()> OnInvalidate;

private:
  void Repeat();
  void Request(sys::WORD code, int position);
  int TrackLength() const;
  int ThumbLength() const;
  int Along(sys::POINT p) const;

  TScrollBarKind FKind;
  sys::RECT FBounds{};
  int FMin = 0, FMax = 0, FPage = 1, FPosition = 0;
  TScrollBarPart FPressed = spNone;
  bool FPressedInside = false;
  int FDragOffset = 0; // pointer minus thumb start at the press
  int FTrackPosition = 0;
  sys::POINT FMouse{};
  std::unique_ptr<TTimer> FTimer;
};

// Draws one scroll-bar arrow button into r (pressed: flat and shifted).
void DrawScrollArrowButton(TCanvas* canvas, const sys::RECT& r, int direction, bool pressed,
                           bool enabled);

class TScrollBar : public TCustomControl {
  ZEL_CREATABLE_CLASS(TScrollBar, TCustomControl)
public:
  explicit TScrollBar(TComponent* owner);
  ~TScrollBar() override;

  TScrollBarKind Kind() const { return FBar->Kind(); }
  void SetKind(TScrollBarKind kind);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  int PageSize() const { return FPageSize; }
  void SetParams(int position, int min, int max);
  void SetPosition(int value) { SetParams(value, FMin, FMax); }
  void SetMin(int value) { SetParams(FPosition, value, FMax); }
  void SetMax(int value) { SetParams(FPosition, FMin, value); }
  void SetPageSize(int value);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int v) { FSmallChange = v < 1 ? 1 : v; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int v) { FLargeChange = v < 1 ? 1 : v; }

  TNotifyEvent OnChange;
  std::function<void(TObject* sender, sys::WORD code, int& position)> OnScroll;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Resize() override;

private:
  void Scrolled(sys::WORD code, int position);
  void Sync();

  void MakeBar(TScrollBarKind kind);
  std::unique_ptr<TDrawnScrollBar> FBar;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  int FSmallChange = 1, FLargeChange = 1;
};

} // namespace zel
