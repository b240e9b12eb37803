#pragma once
// The floating dock forms of the system.  TCustomDockFormEx takes its
// caption from its client, records its placement and visibility in the
// float tree and restores them, can defer visibility changes to one shared
// 100 ms timer, and stays above other windows only while the program is
// active.  TCustomDockFormZel paints its whole non-client area itself: a thin
// frame, a rounded gradient caption bar and its own close cross with hover
// and press feedback (with Ctl3D set it looks like the framework's form).

#include "framework/docking/DragDock.h"

namespace zel {

class TBitmap;

class TCustomDockFormEx : public TCustomDockForm {
  ZEL_CREATABLE_CLASS(TCustomDockFormEx, TCustomDockForm)
public:
  explicit TCustomDockFormEx(TComponent* owner);
  // Records the form's placement in the float tree first.
  ~TCustomDockFormEx() override;

  void DoAddDockClient(TControl* client, const sys::RECT& rect) override;
  void WndProc(TMessage& message) override;

  // The visibility the form should have; the shared timer applies it when it
  // differs from Visible.  A burst of requests within 100 ms is applied
  // once, with the last value.
  void SetVisibleDeferred(bool v);
  bool VisibleWanted() const { return FVisibleWanted; }

protected:
  void DoShow() override;
  void DoHide() override;

private:
  void VisibleChanged(bool visible);
  void ActivateApp(bool active);
  bool FVisibleWanted = false;
};

// The non-client geometry of a self-painted dock form, in window
// coordinates (the window's top-left corner at the origin).
struct TDockCaptionRects {
  sys::RECT Client{};  // the client area
  sys::RECT Caption{}; // the caption bar
  sys::RECT Close{};   // the close cross; empty without WS_SYSMENU
  sys::POINT Cursor{}; // the cursor
};
// Works the geometry out from a window of width x height whose client area
// is clientWidth x clientHeight (frames left and right taken as equal).
TDockCaptionRects GetCaptionRects(int width, int height, int clientWidth, int clientHeight,
                                  bool hasSysMenu, sys::POINT cursor);

class TCustomDockFormZel : public TCustomDockFormEx {
  ZEL_CREATABLE_CLASS(TCustomDockFormZel, TCustomDockFormEx)
public:
  explicit TCustomDockFormZel(TComponent* owner);
  ~TCustomDockFormZel() override;
  void WndProc(TMessage& message) override;

  TDockCaptionRects GetCaptionRects();
  bool ClosePressed() const { return FClosePressed; }
  bool CloseHot() const { return FCloseHot; }

private:
  void NCPaint();
  void PaintCaption(sys::HDC dc, const TDockCaptionRects& g, bool active);
  void NCHitTest(TMessage& message);
  void RepaintFrame();
  bool FClosePressed = false;
  bool FCloseHot = false;
};

// The rounded gradient box: the rectangle with its corners cut by corner
// pixels, filled with a gradient from first to second (top to bottom when
// vertical, else left to right) and outlined; outline clNone draws none,
// clDefault a darker mix of the two colours.
void DrawGradientBox(sys::HDC dc, const sys::RECT& rect, int corner, bool vertical, TColor outline,
                     TColor first, TColor second);

// The floating class for dock style 0 of a dock site (TCustomDockFormEx
// after the unit's start-up; the main window's unit sets TCustomDockFormZel).
TClass& DefaultDockFormClass();
// Set by the dock tree's loader while it floats controls the loaded layout
// does not mention: their new forms take their saved placements.
bool& LayoutRestoring();
// The number of live TCustomDockFormZel instances.
int DockFormCount();
// The caption bitmap all self-painted forms share (nullptr until a first
// caption is painted and after the last form has gone).
TBitmap* DockCaptionBitmap();
void FreeDockCaptionBitmap();
// Whether the shared 100 ms visibility timer is running.
bool VisibilityTimerRunning();

// Unit start-up and shut-down of the docking forms' shared state.
void InitializeDockForms();
void FinalizeDockForms();

} // namespace zel
