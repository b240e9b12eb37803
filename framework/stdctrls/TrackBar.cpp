// TTrackBar: geometry, painting, keys and mouse.

#include "framework/stdctrls/TrackBar.h"

#include <algorithm>

#include "framework/stdctrls/Timer.h"

namespace zel {

using namespace sys;

namespace {
constexpr int kMargin = 8;     // from the ends of the bar to the channel
constexpr int kTickLength = 3; // a tick's length
constexpr int kTickGap = 2;    // between ticks and thumb
constexpr int kRepeatDelay = 400;
constexpr int kRepeatInterval = 100;
} // namespace

TTrackBar::TTrackBar(TComponent* owner) : TCustomControl(owner) {
  FControlStyle += csOpaque;
  FControlStyle -= csDoubleClicks;
  SetTabStop(true);
  SetParentColor(true);
  SetBounds(0, 0, 150, 45);
}

TTrackBar::~TTrackBar() = default;

void TTrackBar::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    Invalidate();
    break;
  case WM_MOUSEWHEEL: {
    const int delta = short(HIWORD(m.WParam));
    SetPosition(FPosition + (delta > 0 ? -FLineSize : FLineSize));
    m.Result = 0;
    return;
  }
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

// ---- Properties --------------------------------------------------------------------

void TTrackBar::SetParams(int position, int min, int max) {
  if (max < min) max = min;
  const bool rangeChanged = min != FMin || max != FMax;
  FMin = min;
  FMax = max;
  if (rangeChanged) Invalidate();
  SetPosition(position);
}

void TTrackBar::SetMin(int value) {
  SetParams(FPosition, value, std::max(value, FMax));
}
void TTrackBar::SetMax(int value) {
  SetParams(FPosition, std::min(FMin, value), value);
}

void TTrackBar::SetPosition(int value) {
  value = std::clamp(value, FMin, FMax);
  if (value == FPosition) return;
  FPosition = value;
  Invalidate();
  Changed();
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
  if (value == FOrientation) return;
  FOrientation = value;
  SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TTrackBar::SetTickMarks(TTickMark value) {
  if (value == FTickMarks) return;
  FTickMarks = value;
  Invalidate();
}

void TTrackBar::SetTickStyle(TTickStyle value) {
  if (value == FTickStyle) return;
  FTickStyle = value;
  Invalidate();
}

void TTrackBar::SetFrequency(int value) {
  value = std::max(value, 1);
  if (value == FFrequency) return;
  FFrequency = value;
  Invalidate();
}

void TTrackBar::SetThumbLength(int value) {
  value = std::max(value, 6);
  if (value == FThumbLength) return;
  FThumbLength = value;
  Invalidate();
}

void TTrackBar::SetTick(int value) {
  if (value <= FMin || value >= FMax) return;
  if (std::find(FManualTicks.begin(), FManualTicks.end(), value) != FManualTicks.end()) return;
  FManualTicks.push_back(value);
  std::sort(FManualTicks.begin(), FManualTicks.end());
  Invalidate();
}

// ---- Geometry -------------------------------------------------------------------------
//
// Everything is worked out along the channel ("along") and across it
// ("across"); Map turns the pair into a client point, so a vertical bar is
// the horizontal one turned on its side.

POINT TTrackBar::Map(int along, int across) const {
  return Vertical() ? POINT{across, along} : POINT{along, across};
}

RECT TTrackBar::MapRect(int a0, int c0, int a1, int c1) const {
  const POINT p = Map(a0, c0), q = Map(a1, c1);
  return RECT{p.x, p.y, q.x, q.y};
}

int TTrackBar::ThumbWidth() const {
  return std::max(FThumbLength / 2 + 1, 5) | 1;
}

int TTrackBar::ThumbTop() const {
  const bool ticksBefore =
      FTickStyle != tsNone && (FTickMarks == tmTopLeft || FTickMarks == tmBoth);
  return ticksBefore ? kTickLength + kTickGap + 3 : 4;
}

int TTrackBar::PositionToPixel(int position) {
  const int span = Length() - 2 * kMargin - ThumbWidth();
  const int range = FMax - FMin;
  const int offset = range > 0 ? int((long long)(position - FMin) * std::max(span, 0) / range) : 0;
  return kMargin + ThumbWidth() / 2 + offset;
}

int TTrackBar::PixelToPosition(int pixel) {
  const int span = Length() - 2 * kMargin - ThumbWidth();
  const int range = FMax - FMin;
  if (span <= 0 || range <= 0) return FMin;
  const int offset = pixel - kMargin - ThumbWidth() / 2;
  // Rounded to the nearest position.
  const long long scaled = (long long)offset * range * 2 + span;
  int pos = FMin + int(scaled / (2LL * span));
  if (scaled < 0) pos = FMin;
  return std::clamp(pos, FMin, FMax);
}

RECT TTrackBar::ThumbRect() {
  const int centre = PositionToPixel(FPosition);
  const int w = ThumbWidth();
  return MapRect(centre - w / 2, ThumbTop(), centre - w / 2 + w, ThumbTop() + FThumbLength);
}

RECT TTrackBar::ChannelRect() {
  const int mid = ThumbTop() + FThumbLength / 2;
  return MapRect(kMargin, mid - 2, Length() - kMargin, mid + 2);
}

std::vector<int> TTrackBar::TickPositions() const {
  std::vector<int> ticks;
  if (FTickStyle == tsNone) return ticks;
  ticks.push_back(FMin);
  if (FTickStyle == tsAuto) {
    for (int p = FMin + FFrequency; p < FMax; p += FFrequency)
      ticks.push_back(p);
  } else {
    ticks.insert(ticks.end(), FManualTicks.begin(), FManualTicks.end());
  }
  if (FMax != FMin) ticks.push_back(FMax);
  return ticks;
}

// ---- Painting -------------------------------------------------------------------------

void TTrackBar::Paint() {
  TCanvas* c = Canvas();
  const RECT client = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  // The channel: a sunken groove.
  RECT ch = ChannelRect();
  c->Brush()->SetColor(Enabled() ? clWindow : clBtnFace);
  c->FillRect(ch);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(ch.left, ch.bottom - 1);
  c->LineTo(ch.left, ch.top);
  c->LineTo(ch.right, ch.top);
  c->Pen()->SetColor(clBtnHighlight);
  c->MoveTo(ch.right - 1, ch.top + 1);
  c->LineTo(ch.right - 1, ch.bottom - 1);
  c->LineTo(ch.left - 1, ch.bottom - 1);
  DrawTicks(c);
  DrawThumb(c);
  if (Focused()) {
    RECT f = client;
    InflateRect(f, -1, -1);
    c->Brush()->SetColor(Color());
    c->DrawFocusRect(f);
  }
}

void TTrackBar::DrawTicks(TCanvas* c) {
  c->Pen()->SetColor(clWindowText);
  const int before = ThumbTop() - kTickGap - kTickLength;
  const int after = ThumbTop() + FThumbLength + kTickGap;
  const bool top = FTickMarks == tmTopLeft || FTickMarks == tmBoth;
  const bool bottom = FTickMarks == tmBottomRight || FTickMarks == tmBoth;
  const std::vector<int> ticks = TickPositions();
  for (size_t i = 0; i < ticks.size(); ++i) {
    const int a = PositionToPixel(ticks[i]);
    // The ends get longer ticks.
    const int extra = (i == 0 || i + 1 == ticks.size()) ? 1 : 0;
    if (top) {
      c->MoveTo(Map(a, before - extra).x, Map(a, before - extra).y);
      const POINT e = Map(a, before + kTickLength);
      c->LineTo(e.x, e.y);
    }
    if (bottom) {
      c->MoveTo(Map(a, after).x, Map(a, after).y);
      const POINT e = Map(a, after + kTickLength + extra);
      c->LineTo(e.x, e.y);
    }
  }
}

// The thumb is a raised block; with ticks on one side only it ends in a
// point towards them.
void TTrackBar::DrawThumb(TCanvas* c) {
  const int w = ThumbWidth();
  const int a0 = PositionToPixel(FPosition) - w / 2, a1 = a0 + w - 1;
  const int mid = (a0 + a1) / 2;
  int c0 = ThumbTop(), c1 = ThumbTop() + FThumbLength - 1;
  const bool pointBefore = FTickStyle != tsNone && FTickMarks == tmTopLeft;
  const bool pointAfter = FTickStyle != tsNone && FTickMarks == tmBottomRight;
  const int tip = w / 2;
  std::vector<POINT> pts;
  if (pointBefore) {
    pts = {Map(mid, c0), Map(a1, c0 + tip), Map(a1, c1), Map(a0, c1), Map(a0, c0 + tip)};
  } else if (pointAfter) {
    pts = {Map(a0, c0), Map(a1, c0), Map(a1, c1 - tip), Map(mid, c1), Map(a0, c1 - tip)};
  } else {
    pts = {Map(a0, c0), Map(a1, c0), Map(a1, c1), Map(a0, c1)};
  }
  const bool pressed = FDraggingThumb;
  c->Brush()->SetColor(pressed ? cl3DLight : clBtnFace);
  c->Pen()->SetColor(pressed ? cl3DLight : clBtnFace);
  c->Polygon(pts);
  // Light edges face up and left, dark ones down and right.  The points go
  // clockwise on the screen (a vertical bar mirrors them, so they are
  // walked backwards there).
  if (Vertical()) std::reverse(pts.begin(), pts.end());
  const size_t n = pts.size();
  for (size_t i = 0; i < n; ++i) {
    const POINT p = pts[i], q = pts[(i + 1) % n];
    const bool light = q.y < p.y || (q.y == p.y && q.x > p.x);
    c->Pen()->SetColor(light ? clBtnHighlight : cl3DDkShadow);
    c->MoveTo(p.x, p.y);
    c->LineTo(q.x, q.y);
  }
}

// ---- Keys -------------------------------------------------------------------------------

bool TTrackBar::WantsKey(WORD key, TShiftState) {
  return IsNavigationKey(key);
}

void TTrackBar::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  switch (key) {
  case VK_LEFT:
  case VK_UP:
    SetPosition(FPosition - FLineSize);
    break;
  case VK_RIGHT:
  case VK_DOWN:
    SetPosition(FPosition + FLineSize);
    break;
  case VK_PRIOR:
    SetPosition(FPosition - FPageSize);
    break;
  case VK_NEXT:
    SetPosition(FPosition + FPageSize);
    break;
  case VK_HOME:
    SetPosition(FMin);
    break;
  case VK_END:
    SetPosition(FMax);
    break;
  default:
    return;
  }
  key = 0;
}

// ---- Mouse ------------------------------------------------------------------------------

void TTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    FMousePos = POINT{x, y};
    const RECT thumb = ThumbRect();
    const int along = Vertical() ? y : x;
    if (PtInRect(thumb, POINT{x, y})) {
      FDraggingThumb = true;
      FDragOffset = along - PositionToPixel(FPosition);
      Invalidate();
    } else {
      FPageDirection = along < PositionToPixel(FPosition) ? -1 : 1;
      PageTowardsMouse();
      if (!FRepeatTimer) FRepeatTimer = std::make_unique<TTimer>(nullptr);
      FRepeatTimer->SetInterval(kRepeatDelay);
      FRepeatTimer->SetOnTimer([this](TObject*) {
        FRepeatTimer->SetInterval(kRepeatInterval);
        PageTowardsMouse();
      });
      FRepeatTimer->SetEnabled(true);
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

// One page towards the pointer, but never past it: paging stops once the
// thumb has reached the pointer.
void TTrackBar::PageTowardsMouse() {
  if (FPageDirection == 0) return;
  const int along = Vertical() ? FMousePos.y : FMousePos.x;
  const int target = PixelToPosition(along);
  if (FPageDirection < 0 && FPosition > target)
    SetPosition(std::max(FPosition - FPageSize, target));
  else if (FPageDirection > 0 && FPosition < target)
    SetPosition(std::min(FPosition + FPageSize, target));
}

void TTrackBar::MouseMove(TShiftState shift, int x, int y) {
  FMousePos = POINT{x, y};
  if (FDraggingThumb) SetPosition(PixelToPosition((Vertical() ? y : x) - FDragOffset));
  TCustomControl::MouseMove(shift, x, y);
}

void TTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (FDraggingThumb) {
      FDraggingThumb = false;
      Invalidate();
    }
    FPageDirection = 0;
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

} // namespace zel
